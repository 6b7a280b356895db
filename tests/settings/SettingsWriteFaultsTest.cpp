// Every write of the settings centre, pressed on the screen, under every way the service can fail: each press
// sends one request, no failure shows the action's success, and what the screen holds (the stored name,
// the switches and the records behind them, the session's password) stays as it was; once the service
// answers again the same press goes through.
#include "SettingsFixture.h"

#include "core/state/RememberedAccount.h"
#include "settings/personal/PersonalInfoPasswordPanel.h"
#include "ui/controls/Button.h"

#include <functional>

namespace {

using Row = settings::PersonalInfoRow;
using tracking_service::Fault;

class SettingsWriteFaults : public test::SettingsTest {
protected:
    struct Write {
        const char* method;
        // Presses the screen's control and waits for the answer.
        std::function<void()> press;
        // The action's success message; failures may show anything else, or nothing.
        const char* successKey;
        // What the screen holds that only an accepted write may change.
        std::function<std::string()> held;
        // Run before the press that is answered: puts back at the service what an answer held back past the
        // time-out may have changed there after the screen had given up on it.
        std::function<void()> settle = {};
        // The form the method's refusal takes.
        Fault refusal = Fault::refusal();
    };

    static std::vector<std::pair<const char*, Fault>> everyFaultKind(const Fault& refusal)
    {
        return { { "status 500", Fault::status(500) }, { "dropped connection", Fault::dropConnection() },
            { "not JSON", Fault::nonJsonBody() }, { "no payload", Fault::noPayload() },
            { "null payload", Fault::nullPayload() }, { "refusal", refusal },
            { "a number", Fault::payload(base::Value(1)) }, { "answer after the time-out", Fault::held() } };
    }

    void pressUnderEveryFault(const Write& write)
    {
        for (const auto& [kind, fault] : everyFaultKind(write.refusal)) {
            SCOPED_TRACE(std::string(write.method) + " / " + kind);
            std::string before = write.held();
            size_t sent = requestsTo(write.method);
            underFault(write.method, fault, write.press);
            pass(0.5);
            EXPECT_EQ(requestsTo(write.method), sent + 1);
            EXPECT_NE(takeAlertMessage(), localized(write.successKey));
            EXPECT_EQ(write.held(), before);
        }
        SCOPED_TRACE(std::string(write.method) + " answered");
        if (write.settle)
            write.settle();
        write.press();
        EXPECT_EQ(takeAlertMessage(), localized(write.successKey));
    }

    static std::string switchState(const std::shared_ptr<ui::Switch>& control)
    {
        return control ? (control->isOn() ? "on" : "off") : "<none>";
    }
    static std::string text(const std::optional<core::ConfigText>& value)
    {
        return !value ? "<none>" : value->isNull() ? "<null>" : value->text();
    }
    static std::string number(const std::optional<int64_t>& value) { return value ? std::to_string(*value) : "<none>"; }
    std::shared_ptr<ui::Button> powerButton(int tag)
    {
        for (const auto& view : cellOf(Row::RemotePower)->contentView()->subviews())
            if (view->tag() == tag)
                return std::dynamic_pointer_cast<ui::Button>(view);
        return nullptr;
    }
    void answerAlert(int button)
    {
        tapAlertButton(button);
        waitForCommands();
    }
};

TEST_F(SettingsWriteFaults, NoFailureOfAWriteReadsAsSuccessOrChangesWhatTheScreenHolds)
{
    openSettings();
    auto config = [this] { return settings()->deviceDetail()->lumetDeviceConfig; };
    const Write writes[] = {
        { "UpdateDeviceName",
            [this] {
                tapRow(Row::DeviceName);
                shownAlert()->textFieldAtIndex(0)->setText("Renamed");
                answerAlert(1);
            },
            "setting_success",
            [] {
                auto row = core::DBManager::readSingleMobileDevice();
                return row ? row->DeviceName.value_or("<none>") : "<no row>";
            } },
        { "LumetFactory",
            [this] {
                tapRow(Row::RestoreDevice);
                answerAlert(1);
            },
            "restore_success", [] { return std::string(); } },
        { "LumetRemotePowerSet",
            [this] {
                tap(powerButton(settings::PersonalInfoVC::rebootTag));
                waitForCommands();
            },
            "success", [this] { return number(settings()->deviceDetail()->deviceState); } },
        { "LumetSetSleepTime", [this] { flip(switchOf(Row::SleepTimer)); }, "setting_success",
            [this, config] {
                return switchState(switchOf(Row::SleepTimer)) + " "
                    + number(settings()->deviceOnAndOfEntity()->powerState) + " " + number(config()->powerState);
            } },
        { "LumetFireWallSetting", [this] { flip(switchOf(Row::Firewall)); }, "only_family_protection_num_can_call",
            [this, config] { return switchState(switchOf(Row::Firewall)) + " " + text(config()->fangHuoQiang); } },
        { "UpdatePassword",
            [this] {
                tapRow(Row::ChangePassword);
                pass(1);
                const auto& panel = settings()->passwordView();
                panel->OldPasswordNum()->setText(password);
                panel->NewNum()->setText("changed-1");
                panel->SureNum()->setText("changed-1");
                tap(panel->done());
                waitForCommands();
            },
            "change_password_success", [] { return core::RememberedAccount::sessionPassword(); },
            [this] {
                // The held-back change is made at the service once the fault is lifted, on a thread of its own.
                auto changed = [this] { return service.store().checkPassword(account, "changed-1"); };
                for (int slice = 0; slice < 12000 && !changed(); ++slice)
                    (void)base::RunLoop::main().runUntil(changed, base::Duration(0.005));
                ASSERT_TRUE(service.store().setPassword(account, password));
            },
            // Any other text is how the service says the password was changed.
            Fault::payload(base::Value("")) },
    };
    for (const Write& write : writes)
        pressUnderEveryFault(write);
}

TEST_F(SettingsWriteFaults, NoFailureOfTheKeyLockReadsAsLockedOrChangesTheRecord)
{
    openSettings(tracking_service::DemoData::Watch44SerialNumber, 44);
    auto global = core::Singleton::shared().deviceDetail();
    ASSERT_TRUE(global && global->lumetDeviceConfig);
    pressUnderEveryFault({ "LumetKeylockSet", [this] { flip(switchOf(Row::KeyLock)); }, "lock_success",
        [this, global] {
            return switchState(switchOf(Row::KeyLock)) + " " + number(global->lumetDeviceConfig->keyLockState);
        } });
}

// The push switch's token upload is only logged: whatever the service does, nothing is shown, and the
// setting follows the switch.
TEST_F(SettingsWriteFaults, ThePushSwitchShowsNoFailureOfTheTokenUploadAndKeepsTheSetting)
{
    openSettings();
    auto push = switchOf(Row::MessagePush);
    ASSERT_TRUE(push);
    for (const auto& [kind, fault] : everyFaultKind(Fault::refusal())) {
        SCOPED_TRACE(kind);
        size_t sent = requestsTo("SaveAppleToken");
        underFault("SaveAppleToken", fault, [&] {
            flip(push);
            ASSERT_TRUE(pumpUntil([&] { return requestsTo("SaveAppleToken") == sent + 1 && networkIdle(); }));
        });
        pass(0.5);
        EXPECT_FALSE(shownAlert());
        EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::NotificationSwitch),
            push->isOn() ? "1" : "0");
    }
}

} // namespace
