// The settings centre's replies beyond its own screen: the status bar's activity indicator follows every call
// until the last has ended.
#include "SettingsFixture.h"

#include "networking/http/NetworkActivityIndicatorManager.h"
#include "ui/controls/TextField.h"
#include "ui/view/Application.h"

namespace {

using Row = settings::PersonalInfoRow;
using tracking_service::Fault;

class SettingsReplies : public test::SettingsTest {
protected:
    void TearDown() override
    {
        networking::NetworkActivityIndicatorManager::sharedManager().setEnabled(false);
        test::SettingsTest::TearDown();
    }

    static bool indicatorShown() { return ui::Application::shared().isNetworkActivityIndicatorVisible(); }
};

TEST_F(SettingsReplies, TheActivityIndicatorStaysOnUntilTheLastCallHasEnded)
{
    networking::NetworkActivityIndicatorManager::sharedManager().setEnabled(true);
    openSettings();
    // The detail is held by the service while a rename is answered at once.
    service.faults().set("GetDeviceDetial", Fault::delay(std::chrono::seconds(20)));
    settings()->getDeviceDetail();
    tapRow(Row::DeviceName);
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    alert->textFieldAtIndex(0)->setText("Kid's watch");
    tap(alert->buttonAtIndex(1));
    ASSERT_TRUE(pumpUntil([] { return shownAlert() && shownAlert()->message() == localized("setting_success"); }));
    EXPECT_TRUE(indicatorShown()) << "the detail is still out";

    service.faults().remove("GetDeviceDetial");
    ASSERT_TRUE(pumpUntil([this] { return settings()->commandsInFlight() == 0 && networkIdle(); }));
    clock->advance(networking::NetworkActivityIndicatorManager::invisibilityDelay + 50ms);
    EXPECT_FALSE(indicatorShown());
}

} // namespace
