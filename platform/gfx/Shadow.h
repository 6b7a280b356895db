// gfx::Shadow: what a shadowed paint casts: the offset in points (positive y = below, on the y-down screen),
// the blur radius in points and the colour. Context::setShadow applies it to every later paint until the
// state is restored; layers use the same description.
#pragma once

#include "gfx/Color.h"
#include "gfx/Size.h"

namespace gfx {

struct Shadow {
    Size offset;
    double blur { 0 };
    Color color { Color::black().withAlpha(1.0 / 3) };

    friend bool operator==(const Shadow&, const Shadow&) = default;
};

} // namespace gfx
