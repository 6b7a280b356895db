// shell::TourContext: what a tour step (TourSteps) needs to reach the application's screens: the login
// screen (found as the root of one of the application's windows), the signed-in container, its home screen,
// menu and centre, opening a menu row or pushing a screen on the home screen's navigation controller, and
// whether the network is idle. Every finder answers nullptr while its screen does not exist. Main thread.
//
//   using shell::TourContext;
//   shell::TourSteps::shared().add({ "chat", [] { TourContext::pushOnHome(shell::ScreenDirectory::Chat); },
//       [] { return TourContext::topOfCentre() != TourContext::home() && TourContext::networkIdle(); },
//       [] { TourContext::popToCentreRoot(); } });
#pragma once

#include "kit/drawer/DrawerTypes.h"

#include <memory>
#include <string>

namespace kit {
class DrawerController;
}
namespace ui {
class NavigationController;
class ViewController;
}

namespace shell {

class ExpansionListVC;
class LoginVC;
class MainMenuVC;

class TourContext {
public:
    static std::shared_ptr<LoginVC> loginScreen();
    // The signed-in drawer container.
    static std::shared_ptr<kit::DrawerController> container();
    // The root of the container's centre navigation controller (the home screen or a menu screen).
    static std::shared_ptr<ui::ViewController> centreRoot();
    static std::shared_ptr<ui::NavigationController> centreNavigation();
    // The centre root when it is the home screen.
    static std::shared_ptr<MainMenuVC> home();
    static std::shared_ptr<ExpansionListVC> menu();
    // The topmost screen of the centre's navigation controller.
    static std::shared_ptr<ui::ViewController> topOfCentre();

    // Pushes the screen on the home screen's navigation controller; whether there was a home screen.
    [[nodiscard]] static bool pushOnHome(const std::shared_ptr<ui::ViewController>& screen);
    // Makes the directory's screen of that name for the home screen's record, opened as pushed, and pushes
    // it; whether it was pushed (a home screen with its record, and a factory for the name).
    [[nodiscard]] static bool pushOnHome(const std::string& screenName);
    // Pops the centre's navigation controller back to its root, not animated.
    static void popToCentreRoot();
    // What a tap on the menu's row of that function key does.
    static void openMenuRow(const std::string& key);

    // No web call of the shared client is under way.
    [[nodiscard]] static bool networkIdle();
    // The container shows that side (None: the centre) and is not moving.
    [[nodiscard]] static bool drawerAtRest(kit::DrawerSide side);
};

} // namespace shell
