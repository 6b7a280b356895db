// What any view controller inside a drawer container can ask of it: the container itself, and the frame its
// drawer occupies when it is one of the drawers (directly or through its navigation controller). Main
// thread.
//
//   if (auto drawer = kit::drawerControllerOf(*this))
//       drawer->toggleDrawerSide(kit::DrawerSide::Left, true);
//   table->setFrame(kit::visibleDrawerFrame(*this));
#pragma once

#include "gfx/geometry/Rect.h"

#include <memory>

namespace ui {
class ViewController;
}

namespace kit {

class DrawerController;

// The first drawer container among the parents of `controller` (itself excluded), or nullptr.
std::shared_ptr<DrawerController> drawerControllerOf(const ui::ViewController& controller);

// The part of the container's root bounds that the drawer of `controller` covers: the left strip of the
// maximum left width, or the right strip of the maximum right width, 20 points shorter while the container
// shows its status-bar strip. Null for a controller that is no drawer (or is in no container).
gfx::Rect visibleDrawerFrame(const ui::ViewController& controller);

} // namespace kit
