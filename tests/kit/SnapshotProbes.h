// Pixel probes for the kit's picture tests, over the shared screen probe: the colour the rendered screen shows
// at a point of a view, and whether a text is shown inside a region of a view. Failures print what was found.
#pragma once

#include "support/ScreenProbe.h"
#include "ui/View.h"

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

// `text` is shown, with ink, inside `region` of `view`'s bounds.
inline bool showsText(const ui::View& view, const std::string& text, const gfx::Rect& region)
{
    return ScreenProbe::textInRegion(text, ScreenProbe::toScreen(view, region));
}

} // namespace test
