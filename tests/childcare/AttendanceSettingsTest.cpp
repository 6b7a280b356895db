// The attendance settings: the school times picked in the panel (which opens at the row's time) and uploaded
// by the attendance screen, and the notice and RFID switches.
#include "AttendanceFixture.h"

#include "base/DateScopedTimeZone.h"
#include "base/time/Calendar.h"
#include "childcare/attendance/AttendanceDays.h"
#include "childcare/attendance/AttendanceSchoolTime.h"
#include "core/helpers/Helper.h"
#include "core/readers/Tool.h"
#include "kit/modal/ModalPresenter.h"
#include "ui/controls/DatePicker.h"
#include "ui/controls/Label.h"

namespace {

using test::AttendanceTest;

class AttendanceSettingsTest : public AttendanceTest {
protected:
    void SetUp() override
    {
        AttendanceTest::SetUp();
        screen = openFromMenu();
        ASSERT_TRUE(screen);
        settings = openSettings(screen);
        ASSERT_TRUE(settings);
    }

    std::string rowDetail(int section)
    {
        auto cell = settings->tableView()->cellForRowAtIndexPath({ section, 0 });
        return cell ? cell->detailTextLabel()->text() : std::string("<no row>");
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

    // Taps the button of the alert on screen; its message.
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

    void toggle(const std::shared_ptr<ui::Switch>& control)
    {
        ASSERT_TRUE(control);
        tap(control);
        settle();
    }

    std::shared_ptr<AttendanceVC> screen;
    std::shared_ptr<AttendanceSettingVC> settings;
};

TEST_F(AttendanceSettingsTest, AnAcceptedEntryTimeIsSentWithTheLoadDayStoredAndShownAgain)
{
    std::string loadDay = childcare::AttendanceDays::dayText(base::Date::now());
    pick(AttendanceSettingVC::EnterTime, 7, 30);

    EXPECT_EQ(lastBody("LumetUpdateEnterCampusTime"),
        R"({"Serialnumber":")" + std::string(watch) + R"(","EnterTime":")" + loadDay + R"( 07:30:00"})");
    EXPECT_EQ(shownAlert() ? shownAlert()->title().value_or("") : "", base::localized("prompt"));
    EXPECT_EQ(answerAlert(), base::localized("set_into_school_success"));
    // The alert's button closes the time picker.
    EXPECT_FALSE(kit::ModalPresenter::sharedInstance()->window());
    EXPECT_EQ(screen->inTime(), "07:30");
    EXPECT_EQ(setting("inTime"), "07:30");
    auto stored = storedConfigField("EnterCampusTime");
    ASSERT_TRUE(stored && stored->string());
    EXPECT_EQ(core::Tool::stringCNFromDate(*core::Tool::getDateFromStringSince1970(*stored->string())), "07:30");

    screen->navigationController()->popViewController(false);
    pass(1);
    screen->clickRigthbtn();
    pass(1);
    EXPECT_EQ(rowDetail(AttendanceSettingVC::EnterTime), "07:30");
    EXPECT_TRUE(textInRegion("07:30", test::ScreenProbe::toScreen(*settings->view(), settings->view()->bounds())));
}

TEST_F(AttendanceSettingsTest, ThePickerOpensAtTheRowsTimeAndCancelLeavesTheRowAsItWas)
{
    for (int section : { AttendanceSettingVC::EnterTime, AttendanceSettingVC::LeaveTime }) {
        SCOPED_TRACE(section);
        std::string shown = rowDetail(section);
        ASSERT_NE(shown, "00:00");
        tap(settings->tableView()->cellForRowAtIndexPath({ section, 0 }));
        pass(0.5);
        ASSERT_TRUE(kit::ModalPresenter::sharedInstance()->window());
        EXPECT_EQ(childcare::AttendanceSchoolTime::pickedText(settings->picker()->hour(), settings->picker()->minute()),
            shown);
        settings->cancelButtonPressed();
        pass(1);
        EXPECT_FALSE(kit::ModalPresenter::sharedInstance()->window());
        EXPECT_FALSE(settings->tableView()->indexPathForSelectedRow()) << "the row is not left highlighted";
        EXPECT_EQ(rowDetail(section), shown);
    }
    EXPECT_EQ(requestsTo("LumetUpdateEnterCampusTime"), 0u);
    EXPECT_EQ(requestsTo("LumetUpdateLeaveCampusTime"), 0u);
}

TEST_F(AttendanceSettingsTest, ATimePickedOnTheDayTheClocksGoForwardIsSentAsPicked)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    settings->didSelectRowAtIndexPath(*settings->tableView(), { AttendanceSettingVC::EnterTime, 0 });
    pass(0.5);
    // On 29 March 2026 Berlin's clocks go from 02:00 to 03:00, so 02:30 is no time of that day.
    auto changeDay = base::Calendar::current().date({ .year = 2026, .month = 3, .day = 29, .hour = 12 });
    ASSERT_TRUE(changeDay);
    settings->picker()->setDate(*changeDay);
    settings->picker()->setCountDownDuration(2 * 3600.0 + 30 * 60.0);
    settings->doneButtonPressed();
    settle();
    EXPECT_EQ(rowDetail(AttendanceSettingVC::EnterTime), "02:30");
    EXPECT_NE(lastBody("LumetUpdateEnterCampusTime").find(" 02:30:00\"}"), std::string::npos);
}

TEST_F(AttendanceSettingsTest, ARefusedOrFailedLeavingTimeShowsTheFailureAndKeepsTheKnownTime)
{
    std::optional<std::string> known = screen->outTime();
    std::string knownSetting = setting("outTime");
    auto storedBefore = storedConfigField("LeaveCampusTime");
    auto faults = replyFaults();
    faults.push_back({ "the service's own refusal", Fault::refusal("设置失败") });
    faults.push_back({ "a command's acceptance", Fault::refusal("命令提交成功") });
    for (auto [name, fault] : faults) {
        SCOPED_TRACE(name);
        service.faults().set("LumetUpdateLeaveCampusTime", fault);
        pick(AttendanceSettingVC::LeaveTime, 18, 10);
        EXPECT_EQ(answerAlert(), base::localized("set_out_school_failed"));
        EXPECT_EQ(screen->outTime(), known);
        EXPECT_EQ(setting("outTime"), knownSetting);
        EXPECT_EQ(storedConfigField("LeaveCampusTime"), storedBefore);
        // The row keeps the picked time, so that the user can send it again.
        EXPECT_EQ(rowDetail(AttendanceSettingVC::LeaveTime), "18:10");
    }
}

TEST_F(AttendanceSettingsTest, TheNoticeSwitchSendsItsTextAndChangesTheSharedRecordWhenAccepted)
{
    auto config = screen->deviceDetail()->lumetDeviceConfig;
    ASSERT_EQ(config->cowNoti, core::ConfigText("01"));
    ASSERT_TRUE(settings->noticeSwitch()->isOn());
    gfx::Color onColour = colourAt(settings->noticeSwitch(), { 8, 15 });

    toggle(settings->noticeSwitch());
    EXPECT_EQ(lastBody("LumetCowNotiControl"), R"({"Serialnumber":")" + std::string(watch) + R"(","type":"00"})");
    ASSERT_TRUE(shownAlert());
    EXPECT_EQ(shownAlert()->title(), base::localized("attendance_noti"));
    EXPECT_EQ(takeAlertMessage(), base::localized("sms_noti_close"));
    EXPECT_EQ(config->cowNoti, core::ConfigText("00"));
    EXPECT_EQ(storedConfigField("CowNoti"), base::Value("00"));
    settings->tableView()->reloadData();
    pass(0.5);
    EXPECT_FALSE(settings->noticeSwitch()->isOn());
    EXPECT_NE(colourAt(settings->noticeSwitch(), { 8, 15 }), onColour);

    // Any text but "01" shows the switch off; turning it on sends "01".
    config->cowNoti = core::ConfigText("1");
    settings->tableView()->reloadData();
    pass(0.5);
    EXPECT_FALSE(settings->noticeSwitch()->isOn());
    toggle(settings->noticeSwitch());
    EXPECT_EQ(lastBody("LumetCowNotiControl"), R"({"Serialnumber":")" + std::string(watch) + R"(","type":"01"})");
    EXPECT_EQ(takeAlertMessage(), base::localized("sms_noti_open"));
    EXPECT_EQ(config->cowNoti, core::ConfigText("01"));
}

TEST_F(AttendanceSettingsTest, TheRFIDSwitchSendsTheFlagAsText)
{
    auto config = screen->deviceDetail()->lumetDeviceConfig;
    ASSERT_TRUE(settings->rfidSwitch()->isOn());
    toggle(settings->rfidSwitch());
    EXPECT_EQ(lastBody("LumetRFIDControl"), R"({"Serialnumber":")" + std::string(watch) + R"(","Flag":"false"})");
    ASSERT_TRUE(shownAlert());
    EXPECT_EQ(shownAlert()->title(), base::localized("attendance_function_switch"));
    EXPECT_EQ(takeAlertMessage(), base::localized("noti_function_close"));
    EXPECT_EQ(config->rfidState, core::ConfigText("false"));
    EXPECT_EQ(storedConfigField("FRIDState"), base::Value("false"));

    config->rfidState = core::ConfigText::null();
    settings->tableView()->reloadData();
    pass(0.5);
    EXPECT_FALSE(settings->rfidSwitch()->isOn());
}

TEST_F(AttendanceSettingsTest, AFailedSwitchChangeShowsTheFailureAndTheWatchsState)
{
    auto config = screen->deviceDetail()->lumetDeviceConfig;
    for (auto [name, fault] : replyFaults()) {
        SCOPED_TRACE(name);
        service.faults().set("LumetRFIDControl", fault);
        service.faults().set("LumetCowNotiControl", fault);
        // A failure draws the rows again: each switch is the one on screen now.
        for (auto current : { &AttendanceSettingVC::rfidSwitch, &AttendanceSettingVC::noticeSwitch }) {
            toggle(((*settings).*current)());
            ASSERT_TRUE(shownAlert());
            EXPECT_EQ(shownAlert()->title(), base::localized("prompt"));
            EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
        }
        EXPECT_EQ(config->rfidState, core::ConfigText("true"));
        EXPECT_EQ(config->cowNoti, core::ConfigText("01"));
        EXPECT_TRUE(settings->rfidSwitch()->isOn());
        EXPECT_TRUE(settings->noticeSwitch()->isOn());
    }
    EXPECT_EQ(storedConfigField("FRIDState"), base::Value("true"));
}

// Without a usable school time the settings show the default times and no stale time stays stored.
TEST_F(AttendanceTest, WithoutUsableSchoolTimesTheSettingsShowTheDefaults)
{
    core::Helper::saveSettingValue(base::Value("08:00"), "inTime");
    core::Helper::saveSettingValue(base::Value("16:00"), "outTime");
    showMenu();
    auto config = menu()->device()->lumetDeviceConfig;
    config->enterCampusTime = core::ConfigText::null();
    config->leaveCampusTime = core::ConfigText("/Date(-3600000)/");
    auto screen = openMenuRow();
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen->inTime());
    EXPECT_FALSE(screen->outTime());
    EXPECT_EQ(setting("inTime"), "<none>");
    EXPECT_EQ(setting("outTime"), "<none>");

    auto settings = openSettings(screen);
    auto detail = [&](int section) {
        return settings->tableView()->cellForRowAtIndexPath({ section, 0 })->detailTextLabel()->text();
    };
    EXPECT_EQ(detail(AttendanceSettingVC::EnterTime), "09:00");
    EXPECT_EQ(detail(AttendanceSettingVC::LeaveTime), "17:00");
}

} // namespace
