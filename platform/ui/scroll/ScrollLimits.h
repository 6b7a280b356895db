// ui::ScrollLimits: the range of content offsets at which a scroll view's content rests, with its content
// inset included: the smallest offset is (-left, -top), the largest is the content size plus the bottom and
// right insets minus the bounds size, or the smallest when the content is shorter than the bounds. Offsets
// outside the range are where a drag has pulled the content beyond an edge. A plain value, any thread.
//
//   auto limits = ui::ScrollLimits::make(contentSize, bounds.size, contentInset);
//   gfx::Point rest = limits.clamped(offset);
#pragma once

#include "gfx/geometry/EdgeInsets.h"
#include "gfx/geometry/Point.h"
#include "gfx/geometry/Size.h"

namespace ui {

struct ScrollLimits {
    gfx::Point min;
    gfx::Point max;

    static ScrollLimits make(gfx::Size contentSize, gfx::Size boundsSize, gfx::EdgeInsets inset);

    bool contains(gfx::Point offset) const;
    gfx::Point clamped(gfx::Point offset) const;

    // The offset a finger that would move the content to `proposed` actually gets: inside the range it is
    // `proposed`; beyond an edge the distance past it is damped, the more the further it goes, and never
    // exceeds the bounds' dimension on that axis.
    gfx::Point rubberBanded(gfx::Point proposed, gfx::Size boundsSize) const;
};

} // namespace ui
