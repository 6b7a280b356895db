#include "shell/tour/TourContext.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "base/loop/OperationQueue.h"
#include "core/service/ServiceClient.h"
#include "kit/drawer/DrawerController.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/start/LoginVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/screens/ScreenDirectory.h"
#include "ui/view/Application.h"
#include "ui/controllers/NavigationController.h"
#include "ui/view/Window.h"

namespace shell {

std::shared_ptr<LoginVC> TourContext::loginScreen()
{
    BASE_ASSERT_MAIN_THREAD();
    for (const auto& window : ui::Application::shared().windows()) {
        if (auto login = std::dynamic_pointer_cast<LoginVC>(window->rootViewController()))
            return login;
    }
    return nullptr;
}

std::shared_ptr<kit::DrawerController> TourContext::container()
{
    BASE_ASSERT_MAIN_THREAD();
    auto login = loginScreen();
    return login ? login->signedInContainer() : nullptr;
}

std::shared_ptr<ui::NavigationController> TourContext::centreNavigation()
{
    BASE_ASSERT_MAIN_THREAD();
    auto drawer = container();
    return drawer ? std::dynamic_pointer_cast<ui::NavigationController>(drawer->centerViewController()) : nullptr;
}

std::shared_ptr<ui::ViewController> TourContext::centreRoot()
{
    BASE_ASSERT_MAIN_THREAD();
    auto navigation = centreNavigation();
    return navigation && !navigation->viewControllers().empty() ? navigation->viewControllers().front() : nullptr;
}

std::shared_ptr<ui::ViewController> TourContext::topOfCentre()
{
    BASE_ASSERT_MAIN_THREAD();
    auto navigation = centreNavigation();
    return navigation && !navigation->viewControllers().empty() ? navigation->viewControllers().back() : nullptr;
}

std::shared_ptr<MainMenuVC> TourContext::home() { return std::dynamic_pointer_cast<MainMenuVC>(centreRoot()); }

std::shared_ptr<ExpansionListVC> TourContext::menu()
{
    BASE_ASSERT_MAIN_THREAD();
    auto drawer = container();
    return drawer ? std::dynamic_pointer_cast<ExpansionListVC>(drawer->leftDrawerViewController()) : nullptr;
}

bool TourContext::pushOnHome(const std::shared_ptr<ui::ViewController>& screen)
{
    BASE_ASSERT_MAIN_THREAD();
    auto homeScreen = home();
    auto navigation = homeScreen ? homeScreen->navigationController() : nullptr;
    if (!navigation || !screen)
        return false;
    navigation->pushViewController(screen, true);
    return true;
}

bool TourContext::pushOnHome(const std::string& screenName)
{
    BASE_ASSERT_MAIN_THREAD();
    auto homeScreen = home();
    if (!homeScreen || !homeScreen->deviceDetail())
        return false;
    return pushOnHome(
        ScreenDirectory::shared().make(screenName, homeScreen->deviceDetail(), ScreenDirectory::Opening::Pushed));
}

void TourContext::popToCentreRoot()
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto navigation = centreNavigation())
        navigation->popToRootViewController(false);
}

void TourContext::openMenuRow(const std::string& key)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto list = menu())
        list->openRowTitled(base::localized(key));
}

bool TourContext::networkIdle() { return core::ServiceClient::sharedClient()->callsInFlight() == 0; }

bool TourContext::drawerAtRest(kit::DrawerSide side)
{
    BASE_ASSERT_MAIN_THREAD();
    auto drawer = container();
    return drawer && drawer->openSide() == side && !drawer->isAnimatingDrawer();
}

} // namespace shell
