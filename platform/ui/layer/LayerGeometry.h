// Geometry of a layer within its superlayer: a layer's bounds are placed so that its anchor point (a
// fraction of the bounds) sits at `position` in the superlayer's coordinates, with `transform` applied about
// that point. With the identity transform the frame is therefore position - anchor x size. Plain functions,
// any thread.
//
// Setting a frame while a transform is on (the platform leaves it undefined) follows one rule: the frame's
// mid-point becomes the middle of the transformed bounds; the bounds take the frame's size divided by the
// scale factors when the transform is an invertible scale along the axes, and keep their size otherwise.
#pragma once

#include "ui/layer/LayerProperties.h"

namespace ui {

// The bounding box of the transformed bounds in the superlayer's coordinates.
gfx::Rect frameOf(const LayerProperties& layer);
void applyFrame(LayerProperties& layer, const gfx::Rect& frame);

// A point of the layer's bounds space in the superlayer's space.
gfx::Point pointToSuperlayer(const LayerProperties& layer, gfx::Point p);
// A point of the superlayer's space in the layer's bounds space; (inf, inf) when the transform cannot be
// inverted (a scale of 0), which no rectangle contains.
gfx::Point pointFromSuperlayer(const LayerProperties& layer, gfx::Point p);

} // namespace ui
