#include "shell/start/SignedInContainer.h"

#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerSetup.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/menu/NavViewController.h"

namespace shell {

std::shared_ptr<kit::DrawerController> makeSignedInContainer()
{
    return kit::makeApplicationDrawerController(
        NavViewController::withRootViewController(MainMenuVC::make()), ExpansionListVC::make());
}

} // namespace shell
