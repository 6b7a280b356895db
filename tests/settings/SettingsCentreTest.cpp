// The settings centre's table: which rows each device type gets, how its switches are drawn from which
// record, and what an unreadable device detail leaves.
#include "SettingsFixture.h"

#include "ui/controls/BarButtonItem.h"
#include "ui/controls/NavigationItem.h"

namespace {

using settings::PersonalInfoRow;
using settings::PersonalInfoRows;
using Row = PersonalInfoRow;

class SettingsCentre : public test::SettingsTest { };

TEST(SettingsRows, NumBindRowsAndLogoutButtonFollowTheStoredDeviceType)
{
    using Rows = std::vector<Row>;
    EXPECT_EQ(PersonalInfoRows::ofSection(1, 41), (Rows { Row::ChangePassword, Row::RestoreDevice }));
    EXPECT_EQ(PersonalInfoRows::ofSection(1, 27), (Rows { Row::ChangePassword, Row::RestoreDevice, Row::SleepTimer }));
    EXPECT_EQ(PersonalInfoRows::ofSection(1, 44).back(), Row::KeyLock);
    EXPECT_EQ(PersonalInfoRows::ofSection(1, 43).back(), Row::KeyLock);
    EXPECT_EQ(PersonalInfoRows::ofSection(1, 36).back(), Row::Firewall);
    EXPECT_EQ(PersonalInfoRows::ofSection(1, 40).size(), 5u);
    for (int64_t type : { 2, 0, 18 })
        EXPECT_EQ(PersonalInfoRows::ofSection(1, type),
            (Rows { Row::ChangePassword, Row::RestoreDevice, Row::SleepTimer, Row::RemotePower }));
    EXPECT_EQ(
        PersonalInfoRows::ofSection(2, 36), (Rows { Row::ClearCache, Row::MessagePush, Row::Feedback, Row::About }));
    EXPECT_TRUE(PersonalInfoRows::ofSection(3, 36).empty());
    for (int64_t type : { 41, 43, 44 })
        EXPECT_TRUE(PersonalInfoRows::hasLogoutButton(type));
    for (int64_t type : { 27, 36, 40, 2, 0 })
        EXPECT_FALSE(PersonalInfoRows::hasLogoutButton(type));
}

TEST(SettingsRows, FirewallIsOffOnlyForNullOrFalse)
{
    auto device = std::make_shared<core::Device>();
    EXPECT_TRUE(PersonalInfoRows::firewallIsOn(device.get()));
    device->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
    EXPECT_TRUE(PersonalInfoRows::firewallIsOn(device.get()));
    for (auto [value, on] : { std::pair { core::ConfigText(""), true }, { core::ConfigText("true"), true },
             { core::ConfigText("false"), false }, { core::ConfigText::null(), false } }) {
        device->lumetDeviceConfig->fangHuoQiang = value;
        EXPECT_EQ(PersonalInfoRows::firewallIsOn(device.get()), on) << value.text();
    }
}

TEST_F(SettingsCentre, AKeyLockWatchShowsTheKeyLockRowAndALogoutButton)
{
    openSettings(tracking_service::DemoData::Watch44SerialNumber, 44);
    EXPECT_EQ(settings()->tableView()->numberOfRowsInSection(1), 5);
    EXPECT_TRUE(switchOf(Row::KeyLock));
    EXPECT_FALSE(cellOf(Row::Firewall));
    auto logout = settings()->navigationItem()->rightBarButtonItem();
    ASSERT_TRUE(logout);
    EXPECT_EQ(logout->title(), localized("logout"));
    EXPECT_TRUE(textInRegion(localized("btn_lock"), { 0, 64, 320, 504 }));
}

// The home screen's detail reply may come late: the fixture waits for it before it makes another device
// current (after which the home screen drops the reply), so the shared record the commands update is there.
TEST_F(SettingsCentre, AfterALateHomeDetailTheSharedRecordIsThere)
{
    service.faults().set("GetDeviceDetial", tracking_service::Fault::delay(std::chrono::seconds(1)));
    openSettings(tracking_service::DemoData::Watch44SerialNumber, 44);
    auto global = core::Singleton::shared().deviceDetail();
    ASSERT_TRUE(global);
    EXPECT_TRUE(global->lumetDeviceConfig);
}

TEST_F(SettingsCentre, WithoutAStoredRowTheTypeCountsAsNone)
{
    openSettings(watch, std::nullopt);
    EXPECT_EQ(settings()->tableView()->numberOfRowsInSection(1), 4);
    EXPECT_FALSE(settings()->navigationItem()->rightBarButtonItem());
    auto name = cellOf(Row::DeviceName);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->detailTextLabel()->text(), "");
}

TEST_F(SettingsCentre, SwitchesAreDrawnFromTheirRecords)
{
    // The watch of type 40 has its firewall "true"; the power state 2 is not a schedule in force.
    ASSERT_TRUE(service.store().setDetailFields(
        tracking_service::DemoData::Watch40SerialNumber, { { "LumetDevice_Config", "PowerState", base::Value(2) } }));
    launchAndSignIn();
    makeCurrent(tracking_service::DemoData::Watch40SerialNumber, 40);
    // The menu's record is the one the settings centre is handed: read it for the type-40 watch.
    menu()->viewWillAppear(false);
    ASSERT_TRUE(pumpUntil([this] {
        return menu()->device() && menu()->device()->serialNumber == tracking_service::DemoData::Watch40SerialNumber;
    }));
    menu()->openSettings();
    ASSERT_TRUE(pumpUntil([this] { return settings() && !settings()->isLoadingDetail(); }));
    pass(1);

    auto firewall = switchOf(Row::Firewall);
    ASSERT_TRUE(firewall);
    EXPECT_TRUE(firewall->isOn());
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(firewall, { 8, 15.5 }), firewall->onTintColor()));
    auto sleepTimer = switchOf(Row::SleepTimer);
    ASSERT_TRUE(sleepTimer);
    EXPECT_FALSE(sleepTimer->isOn());
    EXPECT_FALSE(test::ScreenProbe::near(colourAt(sleepTimer, { 8, 15.5 }), sleepTimer->onTintColor()));
}

TEST_F(SettingsCentre, TheKeyLockFollowsTheGlobalRecordNotTheScreens)
{
    openSettings(tracking_service::DemoData::Watch44SerialNumber, 44);
    EXPECT_FALSE(switchOf(Row::KeyLock)->isOn());
    auto global = std::make_shared<core::Device>();
    global->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
    global->lumetDeviceConfig->keyLockState = 1;
    core::Singleton::shared().setDeviceDetail(global);
    settings()->tableView()->reloadData();
    EXPECT_TRUE(switchOf(Row::KeyLock)->isOn());
    ASSERT_EQ(settings()->deviceDetail()->lumetDeviceConfig->keyLockState, 0);
}

TEST_F(SettingsCentre, AnUnreadableDetailKeepsTheEarlierRecord)
{
    openSettings();
    auto record = settings()->deviceDetail();
    ASSERT_TRUE(record);
    ASSERT_FALSE(switchOf(Row::Firewall)->isOn());
    for (auto fault : { tracking_service::Fault::nonJsonBody(), tracking_service::Fault::noPayload(),
             tracking_service::Fault::nullPayload(), tracking_service::Fault::payload(base::Value(1)),
             tracking_service::Fault::status(500) }) {
        service.faults().set("GetDeviceDetial", fault);
        settings()->getDeviceDetail();
        ASSERT_TRUE(pumpUntil([this] { return !settings()->isLoadingDetail(); }));
        EXPECT_EQ(settings()->deviceDetail(), record);
        EXPECT_FALSE(switchOf(Row::Firewall)->isOn());
        pass(3);
    }
    service.faults().clear();
    settings()->getDeviceDetail();
    ASSERT_TRUE(pumpUntil([this] { return !settings()->isLoadingDetail(); }));
    EXPECT_NE(settings()->deviceDetail(), record);
}

TEST_F(SettingsCentre, ReturningFromThePowerScheduleFetchesTheDetailAgain)
{
    openSettings();
    size_t before = requestsTo("GetDeviceDetial");
    tapRow(Row::SleepTimer);
    ASSERT_TRUE(pumpUntil([this] { return settings()->navigationController()->topViewController() != settings(); }));
    pass(1);
    settings()->navigationController()->popViewController(false);
    ASSERT_TRUE(pumpUntil([this] { return !settings()->isLoadingDetail(); }));
    EXPECT_GT(requestsTo("GetDeviceDetial"), before);
}

} // namespace
