// ui::Screen: the device screen the application draws on: its bounds in points (320 x 568 unless set), its
// scale in pixels per point (the device fact base::Facts holds, 2 unless set) and the application frame,
// the bounds less the 20-point status bar while the bar shows. Tests set the bounds and scale. Main thread.
//
//   double width = ui::Screen::main().bounds().width();
//   ui::Screen::main().setBounds({ 0, 0, 320, 480 });   // in a test of the smaller screen
#pragma once

#include "gfx/geometry/Rect.h"

namespace ui {

class Screen {
public:
    static constexpr gfx::Rect defaultBounds { 0, 0, 320, 568 };
    static constexpr double statusBarHeight = 20;

    static Screen& main();

    const gfx::Rect& bounds() const { return m_bounds; }
    void setBounds(const gfx::Rect& bounds) { m_bounds = bounds; }
    double scale() const;
    void setScale(double scale);
    gfx::Rect applicationFrame() const;

private:
    Screen() = default;
    gfx::Rect m_bounds { defaultBounds };
};

} // namespace ui
