// test::ScreenProbe: reads what the screen shows, for tests of screens that must fail when a screen draws
// wrongly: the colour at a point, and whether a text is shown in a region. Both lay out and draw the whole
// screen and render it as a host would (every visible window, back to front). Text is found through the
// labels and text fields that show it, placed by the installed text measurer (the fixed one in screen
// tests), and counts only where the rendered screen has ink inside the text's box. Main thread.
//
//   EXPECT_EQ(test::ScreenProbe::colourAt(*button, { 5, 5 }), gfx::Color::white());
//   EXPECT_TRUE(test::ScreenProbe::textInRegion("Attendance", { 0, 20, 320, 44 }));
#pragma once

#include "gfx/drawing/Color.h"
#include "gfx/geometry/Point.h"
#include "gfx/geometry/Rect.h"

#include <string>

namespace ui {
class View;
}

namespace test {

class ScreenProbe {
public:
    // A point of the view's bounds in screen points.
    static gfx::Point toScreen(const ui::View& view, gfx::Point point);
    static gfx::Rect toScreen(const ui::View& view, const gfx::Rect& rect);

    // The rendered colour at a point of the view's bounds (8-bit exact; the screen is opaque).
    static gfx::Color colourAt(const ui::View& view, gfx::Point point);
    // Within `tolerance` on each of red, green and blue.
    static bool near(const gfx::Color& a, const gfx::Color& b, double tolerance = 2.0 / 255);
    // How many rendered pixels of a rectangle of the view's bounds are near the colour.
    static int pixelsNear(const ui::View& view, const gfx::Rect& rect, const gfx::Color& colour, double tolerance);

    // Whether a visible label or text field whose text (or, empty, placeholder) contains `text` has its
    // text's box inside `region` (screen points), with more than one colour rendered in that box.
    static bool textInRegion(const std::string& text, const gfx::Rect& region);
};

} // namespace test
