// Pixel probes for the kit's picture tests, over the shared screen probe: the colour the rendered screen shows
// at a point of a view, and whether a text is shown inside a region of a view. Failures print what was found.
#pragma once

#include "gfx/images/Image.h"
#include "support/ScreenProbe.h"
#include "ui/view/Screen.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/View.h"

#include <cmath>

#include <gtest/gtest.h>
#include <sstream>

namespace test {

inline std::string describe(const gfx::Color& colour)
{
    std::ostringstream text;
    text << "rgb(" << colour.r * 255 << ", " << colour.g * 255 << ", " << colour.b * 255 << ")";
    return text.str();
}

// The screen shows `expected` (within `tolerance` per channel) at `point` of `view`'s bounds.
inline ::testing::AssertionResult shows(
    const ui::View& view, gfx::Point point, const gfx::Color& expected, double tolerance = 2.0 / 255)
{
    gfx::Color found = ScreenProbe::colourAt(view, point);
    if (ScreenProbe::near(found, expected, tolerance))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "at (" << point.x << ", " << point.y << ") the screen shows "
                                         << describe(found) << ", not " << describe(expected);
}

// The sum of red, green and blue the screen shows at `point` of `view`'s bounds (how light it is).
inline double lightnessAt(const ui::View& view, gfx::Point point)
{
    gfx::Color found = ScreenProbe::colourAt(view, point);
    return found.r + found.g + found.b;
}

// Whether the rendered screen shows, somewhere inside `region` of `view`'s bounds, both `body` and `ink` (within
// 0.1 per channel): writing or a mark drawn on a body, wherever the fonts place it. It reads the pixels the
// screen shows, so a view that is fading out but still drawn counts.
inline bool showsBoth(const ui::View& view, const gfx::Rect& region, const gfx::Color& body, const gfx::Color& ink)
{
    ui::UpdateCycle::main().runPasses();
    auto image = ui::ScreenRenderer::renderImage();
    if (!image)
        return false;
    double scale = ui::Screen::main().scale();
    gfx::Rect pixels = ScreenProbe::toScreen(view, region);
    bool sawBody = false;
    bool sawInk = false;
    for (double y = pixels.minY(); y < pixels.maxY(); y += 0.5) {
        for (double x = pixels.minX(); x < pixels.maxX(); x += 0.5) {
            gfx::Color found = gfx::Color::fromPremultipliedARGB(
                image->pixel(static_cast<int>(std::floor(x * scale)), static_cast<int>(std::floor(y * scale))));
            sawBody = sawBody || ScreenProbe::near(found, body, 0.1);
            sawInk = sawInk || ScreenProbe::near(found, ink, 0.1);
        }
    }
    return sawBody && sawInk;
}

// `text` is shown, with ink, inside `region` of `view`'s bounds.
inline bool showsText(const ui::View& view, const std::string& text, const gfx::Rect& region)
{
    return ScreenProbe::textInRegion(text, ScreenProbe::toScreen(view, region));
}

} // namespace test
