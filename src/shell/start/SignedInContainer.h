// shell::SignedInContainer: the root container of the signed-in application: the drawer container with the
// home screen in a NavViewController in its centre and the function menu as its left drawer (the kit's
// application drawer: the menu as wide as the screen less 60 points, its pan and tap gestures, the parallax
// visual state, the centre's shadow), together with its home screen. The login screen builds it, views and
// all, while the device list of an accepted sign-in is on its way (nothing in it reads the current device
// before it appears), then has the home screen ask for its device and presents the drawer. Main thread.
//
//   auto container = shell::makeSignedInContainer();
//   container.home->requestDeviceDetailAhead();
//   presentViewController(container.drawer, true);
#pragma once

#include <memory>

namespace kit {
class DrawerController;
}

namespace shell {

class MainMenuVC;

struct SignedInContainer {
    std::shared_ptr<kit::DrawerController> drawer;
    std::shared_ptr<MainMenuVC> home;
};

SignedInContainer makeSignedInContainer();

} // namespace shell
