// kit view pictures: images of what a view shows. screenshot renders the view's layer tree (model values)
// at the view's frame size and the screen's scale, optionally shifted down by dy points (a table's visible
// part is its content shifted up by the content offset); snapshotImageWithScale draws the view's hierarchy
// as it is on screen at a given scale. Main thread.
//
//   auto picture = kit::screenshotWithOffset(*tableView, -tableView->contentOffset().y);
//   auto window = kit::snapshotImageWithScale(*keyWindow, ui::Screen::main().scale());
#pragma once

#include "gfx/images/Image.h"
#include "ui/view/View.h"

#include <memory>

namespace kit {

std::shared_ptr<gfx::Image> screenshot(ui::View& view);
std::shared_ptr<gfx::Image> screenshotWithOffset(ui::View& view, double dy);
std::shared_ptr<gfx::Image> snapshotImageWithScale(ui::View& view, double scale);

} // namespace kit
