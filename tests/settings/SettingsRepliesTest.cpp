// The settings centre's replies beyond its own screen: what a reply changes is kept when the user has left
// before it came, the status bar's activity indicator follows every call until the last has ended, and the
// rows of one reload stay as counted when the stored device changes in between.
#include "SettingsFixture.h"

#include "core/state/RememberedAccount.h"
#include "networking/http/NetworkActivityIndicatorManager.h"
#include "settings/personal/PersonalInfoPasswordPanel.h"
#include "ui/controls/Button.h"
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

    // Puts another screen in the centre at once; the settings centre is gone when nothing else holds it.
    void leaveSettings()
    {
        std::weak_ptr<settings::PersonalInfoVC> left = settings();
        container()->setCenterViewController(
            shell::NavViewController::withRootViewController(std::make_shared<ui::ViewController>()), false);
        ASSERT_TRUE(left.expired());
    }

    static bool indicatorShown() { return ui::Application::shared().isNetworkActivityIndicatorVisible(); }
};

TEST_F(SettingsReplies, APasswordChangeAnsweredAfterTheScreenHasGoneIsStillKept)
{
    openSettings();
    tapRow(Row::ChangePassword);
    pass(1);
    const auto& panel = settings()->passwordView();
    panel->OldPasswordNum()->setText(password);
    panel->NewNum()->setText("changed-away");
    panel->SureNum()->setText("changed-away");
    // The service holds its answer until the screen has gone.
    service.faults().set("UpdatePassword", Fault::delay(std::chrono::seconds(20)));
    tap(panel->done());
    leaveSettings();
    service.faults().remove("UpdatePassword");
    ASSERT_TRUE(pumpUntil([this] { return networkIdle() && requestsTo("UpdatePassword") == 1; }));

    EXPECT_TRUE(service.store().checkPassword(account, "changed-away"));
    EXPECT_EQ(core::RememberedAccount::sessionPassword(), "changed-away");
    EXPECT_EQ(core::RememberedAccount::read().password, "changed-away");
}

TEST_F(SettingsReplies, ARenameAnsweredAfterTheScreenHasGoneIsStillStored)
{
    openSettings();
    tapRow(Row::DeviceName);
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    alert->textFieldAtIndex(0)->setText("Renamed away");
    service.faults().set("UpdateDeviceName", Fault::delay(std::chrono::seconds(20)));
    tap(alert->buttonAtIndex(1));
    leaveSettings();
    service.faults().remove("UpdateDeviceName");
    ASSERT_TRUE(pumpUntil([this] { return networkIdle() && requestsTo("UpdateDeviceName") == 1; }));

    auto stored = core::DBManager::readSingleMobileDevice();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->DeviceName, "Renamed away");
}

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

TEST_F(SettingsReplies, TheCellsOfAReloadFollowItsCountsWhenTheStoredDeviceChangesMeanwhile)
{
    openSettings(watch, 36);
    const auto& table = settings()->tableView();
    int counted = settings()->numberOfRowsInSection(*table, 1);
    ASSERT_EQ(counted, 5);
    // A type with two rows in that section is stored before the table asks for the cells.
    makeCurrent(watch, 41);
    for (int row = 0; row < counted; ++row)
        EXPECT_NO_THROW(settings()->cellForRowAtIndexPath(*table, { 1, row })) << row;
    table->reloadData();
    EXPECT_EQ(settings()->numberOfRowsInSection(*table, 1), 2);
}

} // namespace
