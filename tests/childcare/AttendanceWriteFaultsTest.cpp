// Every write of the attendance settings, made on the screen, under every way the service can fail, answers
// held past the time-out included: each sends one request, no failure shows the write's success, and the
// known school times, the shared record and the switches stay as they were; once the service answers again
// the same write goes through. The alarm list, sent whole by each alarm's switch, says only a failed call
// and keeps the switch as the user set it.
#include "AttendanceFixture.h"

#include "ui/controls/DatePicker.h"

#include <functional>

namespace {

using test::AttendanceTest;

class AttendanceWriteFaults : public AttendanceTest {
protected:
    struct Write {
        const char* method;
        std::function<void()> make;
        const char* successKey;
        std::function<std::string()> held;
    };

    static std::vector<std::pair<std::string, Fault>> everyFaultKind()
    {
        auto faults = replyFaults();
        faults.push_back({ "answer after the time-out", Fault::held() });
        return faults;
    }

    void makeUnderEveryFault(const Write& write)
    {
        for (const auto& [kind, fault] : everyFaultKind()) {
            SCOPED_TRACE(std::string(write.method) + " / " + kind);
            std::string before = write.held();
            size_t sent = requestsTo(write.method);
            underFault(write.method, fault, write.make);
            EXPECT_EQ(requestsTo(write.method), sent + 1);
            EXPECT_NE(answerAlert(), base::localized(write.successKey));
            EXPECT_EQ(write.held(), before);
        }
        SCOPED_TRACE(std::string(write.method) + " answered");
        write.make();
        EXPECT_EQ(answerAlert(), base::localized(write.successKey));
    }

    // Picks the time in the panel of the row and taps "done".
    void pick(int section, int hour, int minute)
    {
        settings->didSelectRowAtIndexPath(*settings->tableView(), { section, 0 });
        pass(0.5);
        settings->picker()->setCountDownDuration(hour * 3600.0 + minute * 60.0);
        settings->doneButtonPressed();
        settle();
    }
    void toggle(const std::shared_ptr<ui::Switch>& control)
    {
        tap(control);
        settle();
    }
    // Taps the first button of the alert on screen, as the user closes it; its message.
    std::string answerAlert()
    {
        auto alert = shownAlert();
        if (!alert)
            return "<no alert>";
        std::string message = alert->message().value_or("");
        tap(alert->buttonAtIndex(0));
        pass(1);
        return message;
    }
    static std::string text(const core::ConfigText& value) { return value.isNull() ? "<null>" : value.text(); }
    static std::string switchState(const std::shared_ptr<ui::Switch>& control)
    {
        return control ? (control->isOn() ? "on" : "off") : "<none>";
    }

    std::shared_ptr<AttendanceSettingVC> settings;
};

TEST_F(AttendanceWriteFaults, NoFailureReadsAsSuccessOrChangesTheKnownTimesOrTheRecord)
{
    auto screen = openFromMenu();
    ASSERT_TRUE(screen);
    settings = openSettings(screen);
    ASSERT_TRUE(settings);
    auto config = screen->deviceDetail()->lumetDeviceConfig;
    const Write writes[] = {
        { "LumetUpdateEnterCampusTime", [this] { pick(AttendanceSettingVC::EnterTime, 7, 40); },
            "set_into_school_success",
            [this, screen] { return screen->inTime().value_or("<none>") + " " + setting("inTime"); } },
        { "LumetUpdateLeaveCampusTime", [this] { pick(AttendanceSettingVC::LeaveTime, 17, 20); },
            "set_out_school_success",
            [this, screen] { return screen->outTime().value_or("<none>") + " " + setting("outTime"); } },
        { "LumetCowNotiControl", [this] { toggle(settings->noticeSwitch()); }, "sms_noti_close",
            [this, config] { return text(config->cowNoti) + " " + switchState(settings->noticeSwitch()); } },
        { "LumetRFIDControl", [this] { toggle(settings->rfidSwitch()); }, "noti_function_close",
            [this, config] { return text(config->rfidState) + " " + switchState(settings->rfidSwitch()); } },
    };
    for (const Write& write : writes)
        makeUnderEveryFault(write);
}

TEST_F(AttendanceWriteFaults, EveryFailedAlarmListIsSaidAndPutBackAsTheWatchLastConfirmedIt)
{
    store().setDocument(watch, ServiceStore::AlarmClockDocument,
        base::Value(base::Dictionary::make({ { "_id", "alarms" },
            { "LumetAlarmClockEntity",
                base::Array::make({ base::Dictionary::make({ { "Mode", 1 }, { "H", 7 }, { "S", 5 } }) }) } })));
    auto screen = openFromMenu();
    ASSERT_TRUE(screen);
    settings = openSettings(screen);
    ASSERT_TRUE(settings);
    tap(settings->tableView()->cellForRowAtIndexPath({ AttendanceSettingVC::AlarmClocks, 0 }));
    pass(1);
    auto clockSwitch = [this] {
        auto row = std::dynamic_pointer_cast<childcare::AlarmClockTableViewCell>(
            settings->clockView()->cellForRowAtIndexPath({ 0, 0 }));
        return row ? row->clockSwitch() : nullptr;
    };
    ASSERT_TRUE(clockSwitch());
    const bool confirmed = clockSwitch()->isOn();
    for (const auto& [kind, fault] : everyFaultKind()) {
        SCOPED_TRACE(kind);
        size_t sent = requestsTo("Lumet0SetAlarmclock");
        underFault("Lumet0SetAlarmclock", fault, [&] { toggle(clockSwitch()); });
        EXPECT_EQ(requestsTo("Lumet0SetAlarmclock"), sent + 1);
        EXPECT_EQ(answerAlert(), base::localized("failure"));
        EXPECT_EQ(settings->alarmClock()->dataList[0]->isOpen, confirmed ? 1 : 0);
        ASSERT_TRUE(clockSwitch());
        EXPECT_EQ(clockSwitch()->isOn(), confirmed);
    }
}

} // namespace
