// The settings centre's replies beyond its own screen: what a reply changes is kept when the user has left
// before it came, and goes only to the account or device it was sent for when another has become current;
// the status bar's activity indicator follows every call until the last has ended, and the rows of one
// reload stay as counted when the stored device changes in between.
#include "SettingsFixture.h"

#include "base/system/Log.h"

#include "core/state/RememberedAccount.h"
#include "kit/overlay/ProgressOverlay.h"
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

    // The text of the busy overlay on the window; nothing when none shows.
    std::optional<std::string> busyOnWindow() const
    {
        for (const auto& view : application->window()->subviews()) {
            if (auto busy = std::dynamic_pointer_cast<kit::ProgressOverlay>(view))
                return busy->labelText();
        }
        return std::nullopt;
    }
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

// The run's end (the window closed) waits for a password change on its way, saying so on the window, and keeps
// what its answer says.
TEST_F(SettingsReplies, TheRunsEndWaitsForAPasswordChangeOnItsWaySayingSo)
{
    openSettings();
    changePasswordHeld("changed-at-close");
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("UpdatePassword") == 1; }));
    std::optional<std::string> said;
    base::RunLoop::main().post([&] {
        said = busyOnWindow();
        service.faults().remove("UpdatePassword");
    });
    EXPECT_TRUE(application->finishBeforeExit(30s));
    EXPECT_EQ(said, base::localized("finishing_before_exit"));
    EXPECT_FALSE(busyOnWindow()) << "gone once finished";
    EXPECT_TRUE(service.store().checkPassword(account, "changed-at-close"));
    EXPECT_EQ(core::RememberedAccount::read().password, "changed-at-close");
}

// A password change whose answer never came keeps both passwords: the next sign-in, the remembered one
// refused, tries the new one, which is remembered from then on.
TEST_F(SettingsReplies, APasswordChangeUnansweredAtTheRunsEndIsTriedAtTheNextSignIn)
{
    openSettings();
    changePasswordHeld("changed-unanswered");
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("UpdatePassword") == 1; }));
    {
        base::Log::ScopedCapture log;
        EXPECT_FALSE(application->finishBeforeExit(0ms)) << "its answer is held";
        EXPECT_TRUE(log.contains("exit: 1 web call was still on its way; what it asked for may or may not"));
    }
    // The service made the change; its answer was lost with the connection.
    ASSERT_TRUE(service.store().setPassword(account, "changed-unanswered"));
    service.faults().letGo("UpdatePassword", 0, Fault::dropConnection());
    ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
    while (shownAlert())
        takeAlertMessage();
    EXPECT_EQ(core::RememberedAccount::read().password, password);

    core::Logout::logOut();
    ASSERT_TRUE(pumpUntil([this] { return !container(); }));
    EXPECT_EQ(login()->passwordField()->text(), password) << "the remembered password";
    // A password typed that is not the remembered one is refused as it is.
    fill(account, "typed-wrong");
    size_t signIns = requestsTo("Login");
    signIn();
    EXPECT_FALSE(container());
    EXPECT_EQ(takeAlertMessage(), base::localized("login_failed"));
    EXPECT_EQ(requestsTo("Login"), signIns + 1);

    fill(account, password);
    signIn();
    ASSERT_TRUE(container()) << takeAlertMessage();
    EXPECT_EQ(requestsTo("Login"), signIns + 3);
    EXPECT_EQ(core::RememberedAccount::read().password, "changed-unanswered");
    EXPECT_EQ(core::RememberedAccount::sessionPassword(), "changed-unanswered");
    EXPECT_FALSE(
        keychain::Keychain::passwordForService(base::Bundle::main().identifier() + ".pending-password", account))
        << "forgotten once a password is accepted";
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
