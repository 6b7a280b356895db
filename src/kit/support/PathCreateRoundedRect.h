// kit::pathCreateRoundedRect: the outline of a rectangle with its own radius at each corner, as the floating
// panel's frame, overlay and shadow use it. The radii come in the order: corner (minX, maxY), (maxX, maxY),
// (maxX, minY), (minX, minY), which on the y-down screen are bottom-left, bottom-right, top-right, top-left.
// Any thread.
//
//   gfx::Path gloss = kit::pathCreateRoundedRect(2, 2, width - 4, 22, 0, 0, radius - 1, radius - 1);
#pragma once

#include "gfx/drawing/Path.h"

namespace kit {

gfx::Path pathCreateRoundedRect(double x, double y, double width, double height, double bottomLeftRadius,
    double bottomRightRadius, double topRightRadius, double topLeftRadius);

} // namespace kit
