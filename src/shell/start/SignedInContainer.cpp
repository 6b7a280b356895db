#include "shell/start/SignedInContainer.h"

#include "base/loop/MainThread.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerSetup.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/menu/NavViewController.h"

namespace shell {

std::shared_ptr<kit::DrawerController> makeSignedInContainer()
{
    BASE_ASSERT_MAIN_THREAD();
    auto home = MainMenuVC::make();
    home->requestDeviceDetailAhead();
    return kit::makeApplicationDrawerController(
        NavViewController::withRootViewController(home), ExpansionListVC::make());
}

} // namespace shell
