// gfx::Shadow: what a shadowed paint casts: the offset in points (positive y = below, on the y-down screen),
// the blur in points and the colour. The blur spreads the shadow like a Gaussian of standard deviation
// blur / 2 (three box passes); 0 gives a hard copy of the shape. Context::setShadow applies it to every later
// paint until the state is restored; layers can use the same description.
#pragma once

#include "gfx/drawing/Color.h"
#include "gfx/geometry/Size.h"

namespace gfx {

struct Shadow {
    Size offset;
    double blur { 0 };
    Color color { Color::black().withAlpha(1.0 / 3) };

    friend bool operator==(const Shadow&, const Shadow&) = default;
};

} // namespace gfx
