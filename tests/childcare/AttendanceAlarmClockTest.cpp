// The alarm clocks of the attendance settings: the list opened as a folder, its switches, the editor, and
// the list sent back after every change.
#include "AttendanceFixture.h"

#include "ui/controls/Label.h"

namespace {

using childcare::AlarmClockDetailViewController;
using test::AttendanceTest;

base::Value alarm(base::Value mode, base::Value hour, base::Value minute)
{
    return base::Value(base::Dictionary::make({ { "Mode", mode }, { "H", hour }, { "S", minute } }));
}

class AttendanceAlarmClockTest : public AttendanceTest {
protected:
    void setAlarms(std::vector<base::Value> alarms)
    {
        store().setDocument(watch, ServiceStore::AlarmClockDocument,
            base::Value(base::Dictionary::make(
                { { "_id", "alarms" }, { "LumetAlarmClockEntity", base::Array::make(std::move(alarms)) } })));
    }

    // Opens the settings and the alarm list under their last row.
    void openList()
    {
        screen = openFromMenu();
        ASSERT_TRUE(screen);
        settings = openSettings(screen);
        ASSERT_TRUE(settings);
        auto row = settings->tableView()->cellForRowAtIndexPath({ AttendanceSettingVC::AlarmClocks, 0 });
        ASSERT_TRUE(row);
        tap(row);
        pass(1);
        ASSERT_EQ(settings->tableView()->subClassContentView(), settings->clockView());
    }

    std::shared_ptr<childcare::AlarmClockTableViewCell> clockRow(int row)
    {
        return std::dynamic_pointer_cast<childcare::AlarmClockTableViewCell>(
            settings->clockView()->cellForRowAtIndexPath({ 0, row }));
    }

    std::shared_ptr<AlarmClockDetailViewController> openEditor(int row)
    {
        settings->didSelectRowAtIndexPath(*settings->clockView(), { 0, row });
        pass(1);
        return std::dynamic_pointer_cast<AlarmClockDetailViewController>(
            settings->navigationController()->topViewController());
    }

    std::string storedAlarms()
    {
        auto document = store().document(watch, ServiceStore::AlarmClockDocument);
        const base::Value* entries = document && document->dictionary()
            ? document->dictionary()->objectForKey("LumetAlarmClockEntity")
            : nullptr;
        return entries ? entries->description() : std::string();
    }

    std::string sentList(std::vector<std::string> entries)
    {
        std::string list;
        for (const auto& entry : entries)
            list += (list.empty() ? "" : ",") + entry;
        return R"({"LumetAlarmClock":{"_id":")" + std::string(watch) + R"(","LumetAlarmClockEntity":[)" + list + "]}}";
    }

    std::shared_ptr<AttendanceVC> screen;
    std::shared_ptr<AttendanceSettingVC> settings;
};

TEST_F(AttendanceAlarmClockTest, TheFolderListsEveryAlarmAndASwitchSendsTheWholeList)
{
    setAlarms({ alarm(1, 7, 5), alarm(1, 12, 30), alarm(1, 21, 0) });
    openList();
    EXPECT_FALSE(settings->tableView()->indexPathForSelectedRow()) << "the row that opened the list is not left grey";
    ASSERT_EQ(settings->clockView()->numberOfRowsInSection(0), 3);
    EXPECT_EQ(clockRow(0)->timeLabel()->text(), "07:05");
    EXPECT_EQ(clockRow(2)->timeLabel()->text(), "21:00");
    EXPECT_TRUE(clockRow(1)->clockSwitch()->isOn());
    EXPECT_TRUE(
        textInRegion("12:30", test::ScreenProbe::toScreen(*settings->clockView(), settings->clockView()->bounds())));

    tap(clockRow(1)->clockSwitch());
    settle();
    EXPECT_EQ(lastBody("Lumet0SetAlarmclock"),
        sentList({ R"({"Index":1,"Mode":1,"H":7,"S":5})", R"({"Index":2,"Mode":0,"H":12,"S":30})",
            R"({"Index":3,"Mode":1,"H":21,"S":0})" }));
    EXPECT_EQ(settings->alarmClock()->dataList[1]->isOpen, 0);
    EXPECT_NE(storedAlarms().find("Mode = 0"), std::string::npos) << storedAlarms();
    EXPECT_FALSE(shownAlert());
}

TEST_F(AttendanceAlarmClockTest, TheEditorOpensOnTheAlarmsTimeAndOnlySaveKeepsAndSendsTheChange)
{
    setAlarms({ alarm(1, 7, 5), alarm(0, 12, 30) });
    openList();
    auto editor = openEditor(0);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->pickerView()->selectedRowInComponent(AlarmClockDetailViewController::hourWheel), 7);
    EXPECT_EQ(editor->pickerView()->selectedRowInComponent(AlarmClockDetailViewController::minuteWheel), 5);
    EXPECT_EQ(editor->pickerView()->titleForRow(5, AlarmClockDetailViewController::minuteWheel), "05");
    EXPECT_TRUE(textInRegion(base::localized("please_select_alarm"),
        test::ScreenProbe::toScreen(*editor->settingAlarmTime(), editor->settingAlarmTime()->bounds())));
    // The alarm is on: the switch shows its on colour.
    EXPECT_TRUE(
        test::ScreenProbe::near(colourAt(editor->clockSwitch(), { 8, 15 }), editor->clockSwitch()->onTintColor()));

    // Back without saving: nothing is sent and nothing kept.
    editor->pickerViewDidSelectRow(*editor->pickerView(), 8, AlarmClockDetailViewController::hourWheel);
    settings->navigationController()->popViewController(false);
    pass(1);
    EXPECT_EQ(requestsTo("Lumet0SetAlarmclock"), 0u);
    EXPECT_EQ(clockRow(0)->timeLabel()->text(), "07:05");
    tap(clockRow(1)->clockSwitch());
    settle();
    EXPECT_EQ(lastBody("Lumet0SetAlarmclock"),
        sentList({ R"({"Index":1,"Mode":1,"H":7,"S":5})", R"({"Index":2,"Mode":1,"H":12,"S":30})" }));

    editor = openEditor(0);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->pickerView()->selectedRowInComponent(AlarmClockDetailViewController::hourWheel), 7);
    editor->pickerViewDidSelectRow(*editor->pickerView(), 8, AlarmClockDetailViewController::hourWheel);
    editor->pickerViewDidSelectRow(*editor->pickerView(), 45, AlarmClockDetailViewController::minuteWheel);
    tap(editor->saveButton());
    settle();
    EXPECT_EQ(lastBody("Lumet0SetAlarmclock"),
        sentList({ R"({"Index":1,"Mode":1,"H":8,"S":45})", R"({"Index":2,"Mode":1,"H":12,"S":30})" }));
    EXPECT_EQ(settings->navigationController()->topViewController(), settings);
    EXPECT_EQ(clockRow(0)->timeLabel()->text(), "08:45");
}

TEST_F(AttendanceAlarmClockTest, TimesOfAnotherKindOrOutOfRangeAreReadAsNumbersAndKeptWithinTheWheels)
{
    setAlarms({ alarm(1, base::Value("9"), base::Value::null()), alarm(1, 30, -4) });
    openList();
    EXPECT_EQ(clockRow(0)->timeLabel()->text(), "09:00");
    auto editor = openEditor(1);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->pickerView()->selectedRowInComponent(AlarmClockDetailViewController::hourWheel), 23);
    EXPECT_EQ(editor->pickerView()->selectedRowInComponent(AlarmClockDetailViewController::minuteWheel), 0);
    // Saved untouched, the alarm goes back as the wheels showed it.
    tap(editor->saveButton());
    settle();
    EXPECT_EQ(lastBody("Lumet0SetAlarmclock"),
        sentList({ R"({"Index":1,"Mode":1,"H":9,"S":0})", R"({"Index":2,"Mode":1,"H":23,"S":0})" }));
}

TEST_F(AttendanceAlarmClockTest, AListTheWatchDoesNotTakeIsSaidAndPutBackAsTheWatchHasIt)
{
    setAlarms({ alarm(1, 7, 5), alarm(0, 12, 30) });
    openList();
    for (auto [name, fault] : replyFaults()) {
        SCOPED_TRACE(name);
        service.faults().set("Lumet0SetAlarmclock", fault);
        tap(clockRow(0)->clockSwitch());
        settle();
        ASSERT_TRUE(shownAlert());
        EXPECT_EQ(shownAlert()->title(), base::localized("prompt"));
        EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
        EXPECT_EQ(settings->alarmClock()->dataList[0]->isOpen, 1);
        EXPECT_TRUE(clockRow(0)->clockSwitch()->isOn());
    }

    // A refused edit puts the time back too; what the watch took stays after a later refusal.
    service.faults().remove("Lumet0SetAlarmclock");
    tap(clockRow(1)->clockSwitch());
    settle();
    EXPECT_FALSE(shownAlert());
    service.faults().set("Lumet0SetAlarmclock", Fault::refusal());
    auto editor = openEditor(0);
    ASSERT_TRUE(editor);
    editor->pickerViewDidSelectRow(*editor->pickerView(), 8, AlarmClockDetailViewController::hourWheel);
    tap(editor->saveButton());
    settle();
    EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
    EXPECT_EQ(clockRow(0)->timeLabel()->text(), "07:05");
    EXPECT_TRUE(clockRow(1)->clockSwitch()->isOn());
    EXPECT_NE(storedAlarms().find("H = 7"), std::string::npos) << storedAlarms();
}

// Two switches changed at once, both saves held at the service; one is refused while the other is still held,
// which is then accepted. After both replies the rows show the last list the watch accepted.
class AlarmSavesInFlight : public AttendanceAlarmClockTest, public testing::WithParamInterface<bool> { };

TEST_P(AlarmSavesInFlight, EndOnTheLastAcceptedList)
{
    const bool firstRefused = GetParam();
    setAlarms({ alarm(1, 7, 5), alarm(0, 12, 30) });
    openList();
    service.faults().set("Lumet0SetAlarmclock", Fault::held());
    size_t sent = requestsTo("Lumet0SetAlarmclock");
    for (int row : { 0, 1 }) {
        tap(clockRow(row)->clockSwitch());
        ASSERT_TRUE(pumpUntil([&] { return requestsTo("Lumet0SetAlarmclock") == sent + 1 + size_t(row); }));
    }
    size_t refused = firstRefused ? 0 : 1;
    service.faults().letGo("Lumet0SetAlarmclock", refused, Fault::refusal());
    ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
    EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
    service.faults().letGo("Lumet0SetAlarmclock", 1 - refused);
    settle();
    EXPECT_FALSE(shownAlert());
    // The first save sends (off, off), the second (off, on).
    const std::array<int64_t, 2> accepted
        = firstRefused ? std::array<int64_t, 2> { 0, 1 } : std::array<int64_t, 2> { 0, 0 };
    for (size_t row : { 0u, 1u }) {
        EXPECT_EQ(settings->alarmClock()->dataList[row]->isOpen, accepted[row]) << row;
        EXPECT_EQ(clockRow(static_cast<int>(row))->clockSwitch()->isOn(), accepted[row] == 1) << row;
    }
    // The watch holds that list: the second's has an alarm on, the first's none.
    EXPECT_EQ(storedAlarms().find("Mode = 1") != std::string::npos, firstRefused) << storedAlarms();
}

INSTANTIATE_TEST_SUITE_P(EitherFails, AlarmSavesInFlight, testing::Bool(),
    [](const testing::TestParamInfo<bool>& info) { return info.param ? "FirstRefused" : "SecondRefused"; });

TEST_F(AttendanceAlarmClockTest, AFailedFetchSaysSoAndListsNothing)
{
    service.faults().set("LumetGetalarmclock", Fault::status(500));
    screen = openFromMenu();
    ASSERT_TRUE(screen);
    screen->clickRigthbtn();
    settle();
    EXPECT_EQ(takeAlertMessage(), base::localized("get_alarm_failed"));
    EXPECT_EQ(screen->attendanceSettingVC()->clockView()->numberOfRowsInSection(0), 0);
}

TEST(AlarmClockEditor, WithoutADelegateSaveChangesNothingAndStays)
{
    auto entity = std::make_shared<core::LumetAlarmClockEntity>();
    entity->h = base::Value(7);
    entity->m = base::Value(5);
    auto editor = AlarmClockDetailViewController::make();
    editor->setAlarmClockEntity(entity);
    editor->view();
    editor->pickerViewDidSelectRow(*editor->pickerView(), 9, AlarmClockDetailViewController::hourWheel);
    editor->saveAlarmClock();
    EXPECT_EQ(entity->h, base::Value(7));
    EXPECT_EQ(editor->editedEntity().h, base::Value(9));
}

} // namespace
