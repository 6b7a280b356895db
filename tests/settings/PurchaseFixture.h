// Shared set-up of the purchase screen's tests: the screen tests' fixture with a fresh store stand-in and a
// fresh receipt uploader for each test, and helpers to open the screen, answer its alerts and tap "buy".
#pragma once

#include "base/system/Files.h"
#include "base/text/Localization.h"
#include "core/service/Purchases.h"
#include "core/service/ReceiptUploader.h"
#include "core/state/SettingsKeys.h"
#include "networking/forms/Base64.h"
#include "settings/about/PurchaseVC.h"
#include "shell/tour/TourContext.h"
#include "store/PaymentQueue.h"
#include "store/Receipt.h"
#include "store/StorePaths.h"
#include "support/ScreenFixture.h"
#include "ui/controls/Button.h"
#include "ui/scroll/TableView.h"

namespace test {

class PurchaseTest : public ScreenTest {
protected:
    void SetUp() override
    {
        forgetPurchases();
        ScreenTest::SetUp();
    }
    void TearDown() override
    {
        ScreenTest::TearDown();
        forgetPurchases();
    }

    static void forgetPurchases()
    {
        core::ReceiptUploader::relaunch();
        store::PaymentQueue::relaunch();
        std::error_code ignored;
        std::filesystem::remove_all(store::storeFolder(), ignored);
        for (const char* key : { core::Purchases::Key, core::Purchases::LegacySerialKey,
                 core::Purchases::LegacyAccountKey, core::SettingsKeys::Receipt })
            base::UserDefaults::standard().removeObjectForKey(key);
    }

    static void script(const std::string& text)
    {
        ASSERT_TRUE(base::Files::writeAtomically(store::scriptPath(), text));
    }

    static std::string genuineReceipt(const std::string& transaction = "T1")
    {
        return networking::Base64::encode(std::string(store::Receipt::Marker) + transaction + " lumet.Permanent\n");
    }

    // A purchase by the buyer for the device, completed by the store with that receipt.
    static void keep(const std::string& receipt, const std::string& serialNumber, const std::string& buyer = account)
    {
        core::Purchases::add("T1", buyer, serialNumber);
        core::Purchases::keepReceipt("T1", receipt);
    }
    static bool receiptWaits() { return core::Purchases::anyReceiptWaits(); }

    // Signs in, pushes a new purchase screen on the home screen and lets its opening calls finish.
    std::shared_ptr<settings::PurchaseVC> open()
    {
        launchAndSignIn();
        return push();
    }
    std::shared_ptr<settings::PurchaseVC> push()
    {
        auto screen = settings::PurchaseVC::make();
        EXPECT_TRUE(shell::TourContext::pushOnHome(screen));
        pumpUntil([&] { return networkIdle() && home()->navigationController()->topViewController() == screen; });
        pass(0.5);
        return screen;
    }

    static bool alertSays(const std::string& key)
    {
        auto alert = shownAlert();
        return alert && alert->message() == base::localized(key);
    }

    // Whether any alert on screen (one may be in front of another) shows that message.
    static bool someAlertSays(const std::string& key)
    {
        for (const auto& window : ui::Application::shared().windows()) {
            auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            auto alert = alertWindow && alertWindow->isShown()
                ? std::dynamic_pointer_cast<ui::AlertView>(alertWindow->panel())
                : nullptr;
            if (alert && alert->message() == base::localized(key))
                return true;
        }
        return false;
    }

    // Taps the alert's button of that index, as a finger does.
    void answerAlert(int index)
    {
        auto alert = shownAlert();
        ASSERT_TRUE(alert);
        tap(alert->buttonAtIndex(index));
        pass(0.5);
    }

    bool screenShown(const std::shared_ptr<settings::PurchaseVC>& screen)
    {
        return home() && home()->navigationController()->topViewController() == screen;
    }

    static std::optional<std::string> setting(const char* key)
    {
        return base::UserDefaults::standard().stringForKey(key);
    }
};

} // namespace test
