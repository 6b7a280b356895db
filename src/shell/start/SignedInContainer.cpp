#include "shell/start/SignedInContainer.h"

#include "base/loop/MainThread.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerSetup.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/menu/NavViewController.h"

namespace shell {

SignedInContainer makeSignedInContainer()
{
    BASE_ASSERT_MAIN_THREAD();
    auto home = MainMenuVC::make();
    auto drawer = kit::makeApplicationDrawerController(
        NavViewController::withRootViewController(home), ExpansionListVC::make());
    return { std::move(drawer), std::move(home) };
}

} // namespace shell
