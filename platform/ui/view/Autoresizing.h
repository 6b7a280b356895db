// Autoresizing: the new frame of a subview whose superview's bounds went from `oldSize` to `newSize`. On
// each axis the change is shared by the flexible parts (left margin, width, right margin; top margin, height,
// bottom margin) in proportion to their current lengths, or evenly when those are all zero; fixed parts
// keep their length. Margins are measured from the superview's bounds size. Plain function, any thread.
//
//   gfx::Rect f = ui::autoresizedFrame({ 0, 0, 240, 460 }, 20, { 320, 460 }, { 320, 480 });  // height 480
#pragma once

#include "gfx/geometry/Rect.h"

namespace ui {

gfx::Rect autoresizedFrame(const gfx::Rect& frame, unsigned mask, gfx::Size oldSize, gfx::Size newSize);

} // namespace ui
