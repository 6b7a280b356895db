// kit view frame accessors: read or change one field of a view's frame (x, y, width, height, size or
// origin), keeping the others. Main thread.
//
//   kit::setFrameY(*header, -kit::frameHeight(*header));
//   kit::setFrameWidth(*footer, kit::frameWidth(*scrollView));
#pragma once

#include "ui/view/View.h"

namespace kit {

void setFrameX(ui::View& view, double x);
double frameX(const ui::View& view);
void setFrameY(ui::View& view, double y);
double frameY(const ui::View& view);
void setFrameWidth(ui::View& view, double width);
double frameWidth(const ui::View& view);
void setFrameHeight(ui::View& view, double height);
double frameHeight(const ui::View& view);
void setFrameSize(ui::View& view, gfx::Size size);
gfx::Size frameSize(const ui::View& view);
void setFrameOrigin(ui::View& view, gfx::Point origin);
gfx::Point frameOrigin(const ui::View& view);

} // namespace kit
