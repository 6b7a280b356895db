// View utilities: the view controller that owns a view, and moving a view in the stacking order of its
// siblings. A view without a superview is not moved, and is neither in front nor at the back. Main thread.
//
//   if (auto screen = kit::viewController(*button)) screen->navigationController()->popViewController(true);
//   kit::bringOneLevelUp(*badge);
#pragma once

#include "ui/view/View.h"
#include "ui/controllers/ViewController.h"

#include <memory>

namespace kit {

// The controller of the nearest ancestor (the view itself not included) that is a controller's root view, or
// nullptr.
std::shared_ptr<ui::ViewController> viewController(const ui::View& view);

void bringToFront(ui::View& view);
void sendToBack(ui::View& view);
// Swaps the view with the sibling just in front of it; the front-most view stays.
void bringOneLevelUp(ui::View& view);
// Swaps the view with the sibling just behind it; the back-most view stays.
void sendOneLevelDown(ui::View& view);
bool isInFront(const ui::View& view);
bool isAtBack(const ui::View& view);

} // namespace kit
