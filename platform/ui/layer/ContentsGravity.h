// ui::ContentsGravity: where a layer's contents image sits in its bounds: stretched to fill them (Resize),
// scaled to fit or fill with its aspect ratio kept, or at its own size at the centre, an edge or a corner.
// The image's size in points is its pixel size divided by the layer's contents scale.
#pragma once

#include "gfx/geometry/Rect.h"

namespace ui {

enum class ContentsGravity {
    Resize,
    ResizeAspect,
    ResizeAspectFill,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight
};

// The rectangle the contents of `contentsSize` points take in `bounds`.
gfx::Rect contentsRect(ContentsGravity gravity, gfx::Size contentsSize, const gfx::Rect& bounds);

} // namespace ui
