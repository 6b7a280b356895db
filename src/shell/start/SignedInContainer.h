// shell::makeSignedInContainer: the root container of the signed-in application, built after each accepted
// sign-in: the drawer container with the home screen in a NavViewController in its centre and the function
// menu as its left drawer (the kit's application drawer: the menu as wide as the screen less 60 points, its
// pan and tap gestures, the parallax visual state, the centre's shadow). The home screen's device-detail
// request goes out before any view is built. The login screen presents it. Main thread.
//
//   presentViewController(shell::makeSignedInContainer(), true);
#pragma once

#include <memory>

namespace kit {
class DrawerController;
}

namespace shell {

std::shared_ptr<kit::DrawerController> makeSignedInContainer();

} // namespace shell
