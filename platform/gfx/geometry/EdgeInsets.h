// gfx::EdgeInsets: distances in from the four edges of a rectangle (content insets, cap sizes, margins).
//
//   gfx::EdgeInsets insets { 64, 0, 0, 0 };
//   gfx::Rect content = insets.inset(bounds);
#pragma once

#include "gfx/geometry/Rect.h"

namespace gfx {

struct EdgeInsets {
    double top { 0 };
    double left { 0 };
    double bottom { 0 };
    double right { 0 };

    friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;

    // The rectangle moved in by the insets (negative insets grow it); the size is not clamped, as callers
    // compare it with other rectangles rather than draw it.
    Rect inset(const Rect& rect) const
    {
        return Rect(
            rect.origin.x + left, rect.origin.y + top, rect.size.width - left - right, rect.size.height - top - bottom);
    }
};

} // namespace gfx
