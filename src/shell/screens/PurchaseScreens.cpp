#include "base/text/Localization.h"
#include "core/service/ReceiptUploader.h"
#include "settings/about/AboutVCViewController.h"
#include "settings/about/PurchaseVC.h"
#include "shell/screens/FeatureScreens.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"

namespace shell {

namespace {

    // The alert on screen, if any.
    std::shared_ptr<ui::AlertView> shownAlert()
    {
        for (const auto& window : ui::Application::shared().windows()) {
            auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            if (alertWindow && alertWindow->isShown())
                return std::dynamic_pointer_cast<ui::AlertView>(alertWindow->panel());
        }
        return nullptr;
    }

    bool alertSays(const std::string& messageKey)
    {
        auto alert = shownAlert();
        return alert && alert->message() == base::localized(messageKey);
    }

    std::shared_ptr<settings::PurchaseVC> purchaseOnTop()
    {
        return std::dynamic_pointer_cast<settings::PurchaseVC>(TourContext::topOfCentre());
    }

    // Until the about screen opens it, the purchase screen is pushed on the home screen, once the home screen
    // is the centre again and the drawer has closed.
    bool purchasePushedOnHome()
    {
        if (purchaseOnTop())
            return true;
        if (TourContext::home() && TourContext::drawerAtRest(kit::DrawerSide::None))
            // The next check sees whether it is on top.
            (void)TourContext::pushOnHome(settings::PurchaseVC::make());
        return false;
    }

    // The notice shows only while no receipt waits; "agree" keeps the screen for the next steps.
    void addTourSteps()
    {
        auto& steps = TourSteps::shared();
        steps.add({ "purchase-notice",
            [] {
                TourContext::popToCentreRoot();
                TourContext::openMenuRow("home_page");
            },
            [] {
                return purchasePushedOnHome()
                    && (alertSays("buy_know") || core::ReceiptUploader::receiptWaitsForCurrentSignIn());
            },
            [] {
                if (auto alert = shownAlert(); alert && alertSays("buy_know"))
                    alert->dismissWithClickedButtonIndex(1, false);
            } });
        steps.add({ "purchase", [] {}, [] { return purchaseOnTop() && !shownAlert() && TourContext::networkIdle(); },
            [] {} });
        steps.add({ "purchase-success",
            [] {
                if (auto screen = purchaseOnTop())
                    screen->clickBuy(0);
            },
            [] { return alertSays("buy_success"); },
            [] {
                if (auto alert = shownAlert())
                    alert->dismissWithClickedButtonIndex(0, false);
                TourContext::popToCentreRoot();
            } });
    }

} // namespace

// The receipt uploader starts here, before the launch posts "uploadReceipt" for a waiting receipt; the about
// screen opens the purchase screen.
void registerPurchaseScreens()
{
    core::ReceiptUploader::shared()->start();
    settings::AboutVCViewController::setPurchaseScreenFactory([] { return settings::PurchaseVC::make(); });
    addTourSteps();
}

} // namespace shell
