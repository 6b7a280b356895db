// The about screen opens the purchase screen that the feature screens registered.
#include "SettingsFixture.h"

#include "core/service/ReceiptUploader.h"
#include "settings/about/AboutVCViewController.h"
#include "settings/about/PurchaseVC.h"
#include "store/PaymentQueue.h"
#include "ui/controls/Button.h"
#include "ui/controllers/NavigationController.h"

namespace {

class PurchaseFromAbout : public test::SettingsTest {
protected:
    void TearDown() override
    {
        SettingsTest::TearDown();
        core::ReceiptUploader::relaunch();
        store::PaymentQueue::relaunch();
    }
};

TEST_F(PurchaseFromAbout, TheAboutScreensButtonPushesThePurchaseScreen)
{
    openSettings();
    tapRow(settings::PersonalInfoRow::About);
    pass(1);
    auto about = std::dynamic_pointer_cast<settings::AboutVCViewController>(
        settings()->navigationController()->topViewController());
    ASSERT_TRUE(about);
    ASSERT_FALSE(about->purchaseButton()->isHidden());
    tap(about->purchaseButton());
    pass(1);
    EXPECT_TRUE(
        std::dynamic_pointer_cast<settings::PurchaseVC>(settings()->navigationController()->topViewController()));
}

} // namespace
