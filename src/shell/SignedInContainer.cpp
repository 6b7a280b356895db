#include "shell/SignedInContainer.h"

#include "kit/DrawerController.h"
#include "kit/DrawerSetup.h"
#include "shell/ExpansionListVC.h"
#include "shell/MainMenuVC.h"
#include "shell/NavViewController.h"

namespace shell {

std::shared_ptr<kit::DrawerController> makeSignedInContainer()
{
    return kit::makeApplicationDrawerController(
        NavViewController::withRootViewController(MainMenuVC::make()), ExpansionListVC::make());
}

} // namespace shell
