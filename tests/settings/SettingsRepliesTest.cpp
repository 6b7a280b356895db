// The settings centre's replies beyond its own screen: what a reply changes is kept when the user has left
// before it came, and goes only to the account or device it was sent for when another has become current;
// the status bar's activity indicator follows every call until the last has ended, and the rows of one
// reload stay as counted when the stored device changes in between.
#include "SettingsFixture.h"

#include "core/state/Logout.h"
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
    // A second account with the demo account's password, so that only the account tells their copies apart.
    static constexpr const char* otherAccount = "other_parent";

    void TearDown() override
    {
        networking::NetworkActivityIndicatorManager::sharedManager().setEnabled(false);
        (void)keychain::Keychain::deletePasswordForService(base::Bundle::main().identifier(), otherAccount);
        test::SettingsTest::TearDown();
    }

    // Submits a password change whose answer the service holds until released.
    void changePasswordHeld(const std::string& newPassword)
    {
        tapRow(Row::ChangePassword);
        pass(1);
        const auto& panel = settings()->passwordView();
        panel->OldPasswordNum()->setText(password);
        panel->NewNum()->setText(newPassword);
        panel->SureNum()->setText(newPassword);
        service.faults().set("UpdatePassword", Fault::held());
        tap(panel->done());
    }
    void renameHeld(const std::string& name)
    {
        tapRow(Row::DeviceName);
        auto alert = shownAlert();
        ASSERT_TRUE(alert);
        alert->textFieldAtIndex(0)->setText(name);
        service.faults().set("UpdateDeviceName", Fault::held());
        tap(alert->buttonAtIndex(1));
    }
    // Lets the held answer of the method come and waits for it.
    void release(const char* method)
    {
        service.faults().remove(method);
        ASSERT_TRUE(pumpUntil([&] { return networkIdle() && requestsTo(method) == 1; }));
    }

    void signInAsOtherAccount()
    {
        ASSERT_TRUE(service.store().addAccount(otherAccount, password));
        ASSERT_TRUE(service.store().addDevice({ "OW3600000001", otherAccount, "Other watch", 36, 1 }));
        core::Logout::logOut();
        ASSERT_TRUE(pumpUntil([this] { return !container(); }));
        fill(otherAccount, password);
        signIn();
        ASSERT_TRUE(container());
    }

    // The global current record of the device, as the home screen sets it.
    static std::shared_ptr<core::Device> makeGlobalRecord(const char* serialNumber)
    {
        auto record = std::make_shared<core::Device>();
        record->serialNumber = serialNumber;
        record->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
        record->lumetDeviceConfig->keyLockState = 0;
        core::Singleton::shared().setDeviceDetail(record);
        return record;
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
    changePasswordHeld("changed-away");
    leaveSettings();
    release("UpdatePassword");

    EXPECT_TRUE(service.store().checkPassword(account, "changed-away"));
    EXPECT_EQ(core::RememberedAccount::sessionPassword(), "changed-away");
    EXPECT_EQ(core::RememberedAccount::read().password, "changed-away");
}

TEST_F(SettingsReplies, ARenameAnsweredAfterTheScreenHasGoneIsStillStored)
{
    openSettings();
    renameHeld("Renamed away");
    leaveSettings();
    release("UpdateDeviceName");

    auto stored = core::DBManager::readSingleMobileDevice();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->DeviceName, "Renamed away");
}

TEST_F(SettingsReplies, APasswordChangeAnsweredAfterAnotherAccountSignedInChangesOnlyItsOwnAccount)
{
    openSettings();
    changePasswordHeld("changed-away");
    leaveSettings();
    signInAsOtherAccount();
    release("UpdatePassword");

    EXPECT_EQ(core::RememberedAccount::sessionPassword(), password);
    EXPECT_EQ(core::RememberedAccount::read().password, password);
    EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::Password), password);
    // The first account's next sign-in finds its new password.
    EXPECT_EQ(keychain::Keychain::passwordForService(base::Bundle::main().identifier(), account), "changed-away");
}

TEST_F(SettingsReplies, ARenameAnsweredAfterAnotherDeviceWasPickedLeavesThatDevicesRow)
{
    openSettings();
    renameHeld("Renamed away");
    leaveSettings();
    makeCurrent(tracking_service::DemoData::Watch40SerialNumber, 40);
    release("UpdateDeviceName");

    auto stored = core::DBManager::readSingleMobileDevice();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->DeviceName, "Stored name");
}

TEST_F(SettingsReplies, AKeyLockAnsweredAfterAnotherDeviceWasPickedLeavesThatDevicesRecord)
{
    openSettings(tracking_service::DemoData::Watch44SerialNumber, 44);
    makeGlobalRecord(tracking_service::DemoData::Watch44SerialNumber);
    service.faults().set("LumetKeylockSet", Fault::held());
    tap(switchOf(Row::KeyLock));
    // Held at the service before the screen goes, so that its answer comes after the other device is picked.
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("LumetKeylockSet") == 1; }));
    leaveSettings();
    makeCurrent(tracking_service::DemoData::Watch43SerialNumber, 43);
    auto picked = makeGlobalRecord(tracking_service::DemoData::Watch43SerialNumber);
    release("LumetKeylockSet");

    EXPECT_EQ(picked->lumetDeviceConfig->keyLockState, 0);
}

TEST_F(SettingsReplies, TheActivityIndicatorStaysOnUntilTheLastCallHasEnded)
{
    networking::NetworkActivityIndicatorManager::sharedManager().setEnabled(true);
    openSettings();
    // The detail is held by the service while a rename is answered at once.
    service.faults().set("GetDeviceDetial", Fault::held());
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
