#include "kit/drawer/DrawerLookup.h"

#include "kit/drawer/DrawerController.h"
#include "ui/controllers/NavigationController.h"
#include "ui/view/View.h"

namespace kit {

std::shared_ptr<DrawerController> drawerControllerOf(const ui::ViewController& controller)
{
    for (auto parent = controller.parentViewController(); parent; parent = parent->parentViewController()) {
        if (auto drawer = std::dynamic_pointer_cast<DrawerController>(parent))
            return drawer;
    }
    return nullptr;
}

gfx::Rect visibleDrawerFrame(const ui::ViewController& controller)
{
    auto drawer = drawerControllerOf(controller);
    if (!drawer)
        return gfx::Rect::null();
    auto navigation = controller.navigationController();
    auto is = [&](const std::shared_ptr<ui::ViewController>& side) {
        return side && (side.get() == &controller || side == navigation);
    };
    gfx::Rect bounds = drawer->view()->bounds();
    gfx::Rect frame;
    if (is(drawer->leftDrawerViewController()))
        frame = { bounds.minX(), bounds.minY(), drawer->maximumLeftDrawerWidth(), bounds.height() };
    else if (is(drawer->rightDrawerViewController()))
        frame = { bounds.width() - drawer->maximumRightDrawerWidth(), bounds.minY(), drawer->maximumRightDrawerWidth(),
            bounds.height() };
    else
        return gfx::Rect::null();
    if (drawer->showsStatusBarBackgroundView())
        frame.size.height -= DrawerController::statusBarStripHeight;
    return frame;
}

} // namespace kit
