// The device commands of the settings centre against the local service: what each sends, what it shows and
// stores for the accepted text and for every fault, and the refusals of a switched-off device.
#include "SettingsFixture.h"

#include "ui/controls/Button.h"

namespace {

using Row = settings::PersonalInfoRow;
using tracking_service::Fault;

class SettingsCommands : public test::SettingsTest {
protected:
    static std::vector<Fault> everyFault()
    {
        return { Fault::status(500), Fault::dropConnection(), Fault::nonJsonBody(), Fault::noPayload(),
            Fault::nullPayload(), Fault::payload(base::Value(1)), Fault::refusal() };
    }

    void rename(const std::string& name)
    {
        tapRow(Row::DeviceName);
        auto alert = shownAlert();
        ASSERT_TRUE(alert);
        ASSERT_EQ(alert->tag(), settings::PersonalInfoVC::renameAlertTag);
        alert->textFieldAtIndex(0)->setText(name);
        tapAlertButton(1);
        waitForCommands();
    }
    std::optional<std::string> storedName()
    {
        auto row = core::DBManager::readSingleMobileDevice();
        return row ? row->DeviceName : std::nullopt;
    }
    std::shared_ptr<ui::Button> powerButton(int tag)
    {
        auto cell = cellOf(Row::RemotePower);
        for (const auto& view : cell->contentView()->subviews())
            if (view->tag() == tag)
                return std::dynamic_pointer_cast<ui::Button>(view);
        return nullptr;
    }
    void switchScreensRecordOff() { settings()->deviceDetail()->deviceState = core::Device::SwitchedOff; }
};

TEST_F(SettingsCommands, AnAcceptedRenameStoresTheNameLocallyAndAtTheService)
{
    openSettings();
    rename("Kid's watch");
    EXPECT_EQ(takeAlertMessage(), localized("setting_success"));
    EXPECT_EQ(lastBody("UpdateDeviceName")->objectForKey("DeviceName")->stringValue(), "Kid's watch");
    EXPECT_EQ(lastBody("UpdateDeviceName")->objectForKey("Serialnumber")->stringValue(), watch);
    EXPECT_EQ(storedName(), "Kid's watch");
    EXPECT_EQ(cellOf(Row::DeviceName)->detailTextLabel()->text(), "Kid's watch");
    EXPECT_EQ(service.store().devicesOf(account).front().name, "Kid's watch");
}

TEST_F(SettingsCommands, ARenameThatIsNotAcceptedStoresNothing)
{
    openSettings();
    for (const auto& fault : everyFault()) {
        service.faults().set("UpdateDeviceName", fault);
        rename("Never stored");
        EXPECT_EQ(takeAlertMessage(), localized("setting_failed"));
        EXPECT_EQ(storedName(), "Stored name");
    }
}

TEST_F(SettingsCommands, ARenameWithoutAStoredRowStillReportsTheReply)
{
    openSettings(watch, std::nullopt);
    rename("");
    EXPECT_EQ(takeAlertMessage(), localized("setting_success"));
    EXPECT_EQ(lastBody("UpdateDeviceName")->objectForKey("DeviceName")->stringValue(), "");
    EXPECT_FALSE(core::DBManager::readSingleMobileDevice());
}

TEST_F(SettingsCommands, FactoryResetSucceedsOnlyOnTheAcceptedText)
{
    openSettings();
    tapRow(Row::RestoreDevice);
    EXPECT_FALSE(alertTitle());
    tapAlertButton(0);
    EXPECT_EQ(requestsTo("LumetFactory"), 0u);

    tapRow(Row::RestoreDevice);
    tapAlertButton(1);
    waitForCommands();
    EXPECT_EQ(takeAlertMessage(), localized("restore_success"));
    for (const auto& fault : everyFault()) {
        service.faults().set("LumetFactory", fault);
        tapRow(Row::RestoreDevice);
        tapAlertButton(1);
        waitForCommands();
        EXPECT_EQ(takeAlertMessage(), localized("restore_failed"));
    }
}

TEST_F(SettingsCommands, RestartAndSwitchOffSendThePowerAndAreRefusedWhenOff)
{
    openSettings();
    tap(powerButton(settings::PersonalInfoVC::shutdownTag));
    waitForCommands();
    EXPECT_EQ(takeAlertMessage(), localized("success"));
    EXPECT_EQ(lastBody("LumetRemotePowerSet")->objectForKey("power")->longLongValue(), 0);
    auto detail = service.store().document(watch, tracking_service::ServiceStore::DetailDocument);
    EXPECT_EQ(detail->dictionary()->objectForKey("DeviceState")->longLongValue(), 1);

    tap(powerButton(settings::PersonalInfoVC::rebootTag));
    waitForCommands();
    EXPECT_EQ(takeAlertMessage(), localized("success"));
    EXPECT_EQ(lastBody("LumetRemotePowerSet")->objectForKey("power")->longLongValue(), 1);

    service.faults().set("LumetRemotePowerSet", Fault::nullPayload());
    tap(powerButton(settings::PersonalInfoVC::rebootTag));
    waitForCommands();
    EXPECT_EQ(takeAlertMessage(), localized("failure"));

    switchScreensRecordOff();
    size_t sent = requestsTo("LumetRemotePowerSet");
    tap(powerButton(settings::PersonalInfoVC::rebootTag));
    EXPECT_EQ(takeAlertMessage(), localized("device_off_operation_failed"));
    EXPECT_EQ(requestsTo("LumetRemotePowerSet"), sent);
}

TEST_F(SettingsCommands, TheSleepTimerSendsTheScheduleAndUpdatesBothRecordsWhenAccepted)
{
    openSettings();
    auto schedule = settings()->deviceOnAndOfEntity();
    schedule->onHour = 6;
    schedule->onMin = 45;
    auto timer = switchOf(Row::SleepTimer);
    ASSERT_TRUE(timer->isOn());
    flip(timer);
    EXPECT_EQ(takeAlertMessage(), localized("setting_success"));
    auto body = lastBody("LumetSetSleepTime");
    EXPECT_EQ(body->objectForKey("flag")->longLongValue(), 0);
    EXPECT_EQ(body->objectForKey("OpenHour")->longLongValue(), 6);
    EXPECT_EQ(body->objectForKey("OpenMin")->longLongValue(), 45);
    EXPECT_EQ(body->objectForKey("CloseHour")->longLongValue(), 22);
    EXPECT_EQ(schedule->powerState, 0);
    EXPECT_EQ(settings()->deviceDetail()->lumetDeviceConfig->powerState, 0);
    EXPECT_EQ(storedConfig(watch)->objectForKey("PowerOnTime")->stringValue(), "06:45");
}

TEST_F(SettingsCommands, ARefusedOrFailedSleepTimerIsSetBack)
{
    openSettings();
    auto timer = switchOf(Row::SleepTimer);
    for (const auto& fault : { Fault::refusal(), Fault::dropConnection(), Fault::nullPayload() }) {
        service.faults().set("LumetSetSleepTime", fault);
        flip(timer);
        EXPECT_EQ(takeAlertMessage(), localized("setting_failed"));
        EXPECT_TRUE(timer->isOn());
        EXPECT_EQ(settings()->deviceOnAndOfEntity()->powerState, 1);
    }
    service.faults().clear();
    switchScreensRecordOff();
    size_t sent = requestsTo("LumetSetSleepTime");
    flip(timer);
    EXPECT_EQ(takeAlertMessage(), localized("device_off_operation_failed"));
    EXPECT_TRUE(timer->isOn());
    EXPECT_EQ(requestsTo("LumetSetSleepTime"), sent);
}

TEST_F(SettingsCommands, TheFirewallIsSentEvenWhenOffAndStoresTheAcceptedValue)
{
    openSettings();
    switchScreensRecordOff();
    auto firewall = switchOf(Row::Firewall);
    ASSERT_FALSE(firewall->isOn());
    flip(firewall);
    EXPECT_EQ(alertTitle(), localized("firewall_open"));
    EXPECT_EQ(takeAlertMessage(), localized("only_family_protection_num_can_call"));
    EXPECT_EQ(lastBody("LumetFireWallSetting")->objectForKey("Flag")->stringValue(), "true");
    EXPECT_EQ(settings()->deviceDetail()->lumetDeviceConfig->fangHuoQiang, core::ConfigText("true"));

    flip(firewall);
    EXPECT_EQ(alertTitle(), localized("firewall_close"));
    EXPECT_EQ(takeAlertMessage(), localized("any_num_can_call"));
    EXPECT_EQ(storedConfig(watch)->objectForKey("Fanghuoqiang")->stringValue(), "false");

    service.faults().set("LumetFireWallSetting", Fault::refusal());
    flip(firewall);
    EXPECT_EQ(takeAlertMessage(), localized("failure"));
    EXPECT_FALSE(firewall->isOn());
    service.faults().set("LumetFireWallSetting", Fault::dropConnection());
    flip(firewall);
    EXPECT_FALSE(shownAlert());
    EXPECT_FALSE(firewall->isOn());
    EXPECT_EQ(settings()->deviceDetail()->lumetDeviceConfig->fangHuoQiang, core::ConfigText("false"));
}

TEST_F(SettingsCommands, TheKeyLockIsRefusedByTheGlobalRecordAndWritesIt)
{
    openSettings(tracking_service::DemoData::Watch44SerialNumber, 44);
    auto global = std::make_shared<core::Device>();
    global->serialNumber = tracking_service::DemoData::Watch44SerialNumber;
    global->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
    global->lumetDeviceConfig->keyLockState = 0;
    global->deviceState = core::Device::SwitchedOff;
    core::Singleton::shared().setDeviceDetail(global);

    auto lock = switchOf(Row::KeyLock);
    flip(lock);
    EXPECT_EQ(takeAlertMessage(), localized("device_off_operation_failed"));
    EXPECT_FALSE(lock->isOn());
    EXPECT_EQ(requestsTo("LumetKeylockSet"), 0u);
    // The screen's own record says the device is on: the sleep timer goes out.
    flip(switchOf(Row::SleepTimer));
    EXPECT_EQ(requestsTo("LumetSetSleepTime"), 1u);
    takeAlertMessage();

    global->deviceState = 0;
    flip(lock);
    EXPECT_EQ(takeAlertMessage(), localized("lock_success"));
    EXPECT_EQ(global->lumetDeviceConfig->keyLockState, 1);
    EXPECT_EQ(lastBody("LumetKeylockSet")->objectForKey("klock")->longLongValue(), 1);
    EXPECT_EQ(
        storedConfig(tracking_service::DemoData::Watch44SerialNumber)->objectForKey("KeyLockState")->longLongValue(),
        1);

    for (const auto& fault : { Fault::refusal(), Fault::status(503) }) {
        service.faults().set("LumetKeylockSet", fault);
        flip(lock);
        EXPECT_EQ(takeAlertMessage(), localized("setting_failed"));
        EXPECT_TRUE(lock->isOn());
        EXPECT_EQ(global->lumetDeviceConfig->keyLockState, 1);
    }
}

} // namespace
