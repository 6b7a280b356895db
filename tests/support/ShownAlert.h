// test::shownAlert: the alert on screen, if any, for tests of code that puts up alerts (a screen, a notice
// of the core). Header only, so that a test binary without the screen fixture can use it. Main thread.
#pragma once

#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"

#include <memory>

namespace test {

inline std::shared_ptr<ui::AlertView> shownAlert()
{
    for (const auto& window : ui::Application::shared().windows()) {
        auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
        if (alertWindow && alertWindow->isShown())
            return std::dynamic_pointer_cast<ui::AlertView>(alertWindow->panel());
    }
    return nullptr;
}

} // namespace test
