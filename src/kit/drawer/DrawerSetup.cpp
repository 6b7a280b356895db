#include "kit/drawer/DrawerSetup.h"

#include "base/loop/MainThread.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerVisualStateManager.h"
#include "ui/view/Screen.h"

namespace kit {

namespace {

    // The strip of the centre that stays in view beside the open menu.
    constexpr double uncoveredCenterWidth = 60;

} // namespace

std::shared_ptr<DrawerController> makeApplicationDrawerController(
    std::shared_ptr<ui::ViewController> center, std::shared_ptr<ui::ViewController> menu)
{
    BASE_ASSERT_MAIN_THREAD();
    auto drawer = DrawerController::make(std::move(center), std::move(menu), nullptr);
    drawer->setShowsShadow(true);
    drawer->setRestorationIdentifier("Drawer");
    drawer->setMaximumLeftDrawerWidth(ui::Screen::main().bounds().width() - uncoveredCenterWidth);
    drawer->setOpenDrawerGestureModeMask(
        OpenDrawerGestureMode::NavigationBarPan | OpenDrawerGestureMode::BezelPan | OpenDrawerGestureMode::CustomTest);
    drawer->setCloseDrawerGestureModeMask(CloseDrawerGestureMode::All);
    drawer->setDrawerVisualStateBlock([](DrawerController& container, DrawerSide side, double percentVisible) {
        if (auto block = DrawerVisualStateManager::shared().drawerVisualStateBlockForDrawerSide(side))
            block(container, side, percentVisible);
    });
    return drawer;
}

} // namespace kit
