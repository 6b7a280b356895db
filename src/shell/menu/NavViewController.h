// shell::NavViewController: the application's navigation controller: its bar has the application's green
// tint (RGB 0.52, 0.8, 0.05) with white titles and buttons. The home screen sits in one in the drawer's
// centre, and each screen the drawer menu opens becomes the root of a new one. Main thread.
//
//   auto navigation = shell::NavViewController::withRootViewController(screen);
//   drawer->setCenterViewControllerWithCloseAnimation(navigation, true);
#pragma once

#include "gfx/drawing/Color.h"
#include "ui/controllers/NavigationController.h"

#include <memory>

namespace shell {

class NavViewController : public ui::NavigationController {
public:
    static constexpr gfx::Color barTint { 0.52, 0.8, 0.05, 1.0 };

    NavViewController();
    static std::shared_ptr<NavViewController> withRootViewController(std::shared_ptr<ui::ViewController> root);
};

} // namespace shell
