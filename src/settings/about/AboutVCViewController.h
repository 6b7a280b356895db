// settings::AboutVCViewController: the about screen, pushed by the settings centre: the application's name
// and version ("version" filled with the bundle's version), a logout that keeps the phone's push
// registration at the server, and the button "permanent_service" that pushes the purchase screen. The
// purchase screen plugs in through setPurchaseScreenFactory; without a factory the button is hidden. A swipe
// to the right pops the screen. Main thread; made with make().
//
//   settings::AboutVCViewController::setPurchaseScreenFactory([] { return PurchaseVC::make(); });
//   navigationController()->pushViewController(settings::AboutVCViewController::make(), true);
#pragma once

#include "gfx/drawing/Color.h"
#include "ui/controllers/ViewController.h"

#include <functional>
#include <memory>

namespace ui {
class Button;
class Label;
}

namespace settings {

class AboutVCViewController : public ui::ViewController {
public:
    using PurchaseScreenFactory = std::function<std::shared_ptr<ui::ViewController>()>;

    static std::shared_ptr<AboutVCViewController> make();
    // The purchase screen's maker; an empty one hides the button.
    static void setPurchaseScreenFactory(PurchaseScreenFactory factory);

    const std::shared_ptr<ui::Label>& lblVersion();
    const std::shared_ptr<ui::Label>& aboutappname();
    const std::shared_ptr<ui::Button>& logoutButton();
    const std::shared_ptr<ui::Button>& purchaseButton();

    void didSwipe();
    void clickLogout();
    void openPurchase();

    void viewDidLoad() override;

private:
    std::shared_ptr<ui::Button> makeButton(
        double y, const char* titleKey, gfx::Color colour, void (AboutVCViewController::*action)());

    std::shared_ptr<ui::Label> m_lblVersion;
    std::shared_ptr<ui::Label> m_aboutappname;
    std::shared_ptr<ui::Button> m_logoutButton;
    std::shared_ptr<ui::Button> m_purchaseButton;
};

} // namespace settings
