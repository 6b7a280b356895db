// host::Letterbox: where the screen's picture sits in a desktop window of any size: scaled uniformly to the
// largest size that fits, centred, with bars on the two sides that are left over. Window positions map back
// to screen points through the same transform, so a click lands on what is drawn under it.
//
//   auto box = host::Letterbox::fit({ 320, 568 }, { 800, 600 });
//   gfx::Point point = box.toPoints({ event.x, event.y });
#pragma once

#include "gfx/geometry/Point.h"
#include "gfx/geometry/Rect.h"
#include "gfx/geometry/Size.h"

namespace host {

class Letterbox {
public:
    // `screen` in points, `window` in window units (the units of mouse positions).
    static Letterbox fit(gfx::Size screen, gfx::Size window);

    // The picture's place in the window, in window units.
    const gfx::Rect& picture() const { return m_picture; }
    // Window units per screen point.
    double scale() const { return m_scale; }
    gfx::Point toPoints(gfx::Point inWindow) const;

private:
    gfx::Rect m_picture;
    double m_scale { 1 };
};

} // namespace host
