// The drawer container of the signed-in application: the home screen's navigation controller in the centre,
// the function menu as the left drawer and no right one. Its left drawer is the screen's width less 60
// points; it opens by a pan on the centre's navigation bar or from the left edge and closes by any pan or
// tap on the uncovered centre or a pan on the drawer; it slides in with the parallax effect the visual-state
// manager gives, under the centre's shadow. The caller presents it. Main thread.
//
//   auto drawer = kit::makeApplicationDrawerController(homeNavigation, functionMenu);
//   loginScreen->presentViewController(drawer, true);
#pragma once

#include <memory>

namespace ui {
class ViewController;
}

namespace kit {

class DrawerController;

std::shared_ptr<DrawerController> makeApplicationDrawerController(
    std::shared_ptr<ui::ViewController> center, std::shared_ptr<ui::ViewController> menu);

} // namespace kit
