// The about screen: its version line, the purchase screen's place, the swipe back and its logout, which
// keeps the phone's push registration.
#include "SettingsFixture.h"

#include "base/text/LocalizedFormat.h"
#include "core/helpers/Helper.h"
#include "settings/about/AboutVCViewController.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"

namespace {

using Row = settings::PersonalInfoRow;

class SettingsAbout : public test::SettingsTest {
protected:
    void TearDown() override
    {
        settings::AboutVCViewController::setPurchaseScreenFactory({});
        SettingsTest::TearDown();
    }
    std::shared_ptr<settings::AboutVCViewController> openAbout()
    {
        openSettings();
        tapRow(Row::About);
        pass(1);
        return std::dynamic_pointer_cast<settings::AboutVCViewController>(
            settings()->navigationController()->topViewController());
    }
    void swipe(gfx::Point from, gfx::Point to)
    {
        ui::TouchDriver().drag(from, to, base::Duration(0.1), 5);
        pass(1);
    }
};

TEST_F(SettingsAbout, ShowsTheVersionAndSwipesBackToTheRight)
{
    auto about = openAbout();
    ASSERT_TRUE(about);
    std::string version = base::LocalizedFormat::format(localized("version"), { core::Helper::appVersion() });
    EXPECT_EQ(about->lblVersion()->text(), version);
    EXPECT_TRUE(textInRegion(version, { 0, 230, 320, 60 }));
    EXPECT_FALSE(about->purchaseButton()->isHidden()) << "the purchase screen is registered";

    swipe({ 260, 300 }, { 40, 300 });
    EXPECT_EQ(settings()->navigationController()->topViewController(), about);
    swipe({ 40, 300 }, { 260, 300 });
    EXPECT_EQ(settings()->navigationController()->topViewController(), settings());
}

TEST_F(SettingsAbout, ThePurchaseButtonPushesTheScreenItsFactoryMakes)
{
    auto purchase = std::make_shared<ui::ViewController>();
    auto about = openAbout();
    settings::AboutVCViewController::setPurchaseScreenFactory([purchase] { return purchase; });
    ASSERT_TRUE(about);
    ASSERT_FALSE(about->purchaseButton()->isHidden());
    tap(about->purchaseButton());
    pass(1);
    EXPECT_EQ(settings()->navigationController()->topViewController(), purchase);
}

TEST_F(SettingsAbout, ItsLogoutKeepsThePushRegistration)
{
    auto about = openAbout();
    ASSERT_TRUE(about);
    size_t tokens = requestsTo("SaveAppleToken");
    tap(about->logoutButton());
    ASSERT_TRUE(pumpUntil([this] { return !container(); }));
    pass(1);
    EXPECT_EQ(requestsTo("SaveAppleToken"), tokens);
    EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::AutoLogin), "0");
    EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), "");
}

} // namespace
