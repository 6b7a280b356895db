// The attendance list: the three day sections, their headers, the list request and its failures, and the
// two ways the screen is opened.
#include "AttendanceFixture.h"

#include "base/time/Calendar.h"
#include "base/time/DateFormatter.h"
#include "base/DateScopedTimeZone.h"
#include "base/text/LocalizedFormat.h"
#include "core/readers/Tool.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationItem.h"

namespace {

using test::AttendanceTest;

base::Date localTime(int month, int day, int hour, int minute = 0)
{
    return *base::Calendar::current().date(
        { .year = 2026, .month = month, .day = day, .hour = hour, .minute = minute });
}

base::Value attendanceRow(int type, const char* state, std::optional<base::Date> time)
{
    static int number = 0;
    ++number;
    return base::Value(base::Dictionary::make({
        { "_id", "row-" + std::to_string(number) },
        { "Serialnumber", tracking_service::DemoData::WatchSerialNumber },
        { "Type", type },
        { "Time", time ? base::Value(base::serviceDateText(*time)) : base::Value::null() },
        { "State", state },
        { "Code", "RF" + std::to_string(number) },
    }));
}

class AttendanceHistoryTest : public AttendanceTest {
protected:
    void setRows(std::vector<base::Value> rows)
    {
        store().setDocument(watch, ServiceStore::AttendanceDocument, base::Value(base::Array::make(std::move(rows))));
    }

    static std::vector<size_t> rowCounts(AttendanceVC& screen)
    {
        auto& table = *screen.tableView();
        return { size_t(table.numberOfRowsInSection(0)), size_t(table.numberOfRowsInSection(1)),
            size_t(table.numberOfRowsInSection(2)) };
    }
    static std::shared_ptr<ui::View> headerButton(AttendanceVC& screen, int section)
    {
        return screen.tableView()->viewWithTag(AttendanceVC::headerButtonTagBase + section);
    }
};

TEST_F(AttendanceHistoryTest, ListsTheFirstRowsDayAndTheTwoBeforeUnderGreenHeaders)
{
    test::ScopedTimeZone zone("Asia/Shanghai");
    // The first row is older than the second: the first row's day is the reference all the same.
    setRows({ attendanceRow(1, "迟到", localTime(5, 8, 8, 20)), attendanceRow(1, "正常", localTime(5, 10, 7, 50)),
        attendanceRow(3, "正常", localTime(5, 8, 12)), attendanceRow(2, "正常", localTime(5, 7, 16, 40)),
        attendanceRow(1, "早退", localTime(5, 7, 7, 55)), attendanceRow(2, "早退", localTime(5, 6, 15, 30)),
        attendanceRow(1, "正常", localTime(5, 5, 7, 40)) });
    auto screen = openFromMenu();
    ASSERT_TRUE(screen);

    std::string body = lastBody("LumetSearchCOW");
    std::string prefix
        = R"({"opt":{"Serialnumber":")" + std::string(watch) + R"(","PageSize":45,"PageIndex":1,"Date":")";
    ASSERT_EQ(body.substr(0, prefix.size()), prefix);
    EXPECT_EQ(body.substr(body.size() - 3), "\"}}");
    EXPECT_TRUE(base::DateFormatter("MM/dd/yyyy HH:mm:ss").dateFromString(body.substr(prefix.size(), 19))) << body;
    const auto& days = screen->days();
    EXPECT_EQ(days[0].dateText, "2026-05-08");
    EXPECT_EQ(days[1].dateText, "2026-05-07");
    EXPECT_EQ(days[2].dateText, "2026-05-06");
    EXPECT_EQ(rowCounts(*screen), (std::vector<size_t> { 2, 2, 1 }));
    EXPECT_TRUE(screen->emptyStateView()->isHidden());

    auto late = screen->tableView()->cellForRowAtIndexPath({ 0, 0 });
    ASSERT_TRUE(late);
    EXPECT_NE(late->textLabel()->text().find("迟到"), std::string::npos);
    EXPECT_NE(late->detailTextLabel()->text().find("05/08/2026 08:20:00"), std::string::npos);
    EXPECT_TRUE(late->imageView()->image());
    EXPECT_TRUE(textInRegion(late->textLabel()->text(), test::ScreenProbe::toScreen(*late, late->bounds())));
    EXPECT_TRUE(textInRegion(late->detailTextLabel()->text(), test::ScreenProbe::toScreen(*late, late->bounds())));
    // A row of type 3, and an arrival marked as an early departure, are listed without icon or texts.
    for (ui::IndexPath unknown : { ui::IndexPath { 0, 1 }, ui::IndexPath { 1, 1 } }) {
        auto cell = screen->tableView()->cellForRowAtIndexPath(unknown);
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->textLabel()->text(), "");
        EXPECT_EQ(cell->detailTextLabel()->text(), "");
        EXPECT_FALSE(cell->imageView()->image());
    }

    auto header = headerButton(*screen, 0);
    ASSERT_TRUE(header);
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(header, { 300, 45 }), AttendanceVC::green));
    std::string title = base::LocalizedFormat::format(
        base::localized("attendance_time"), { "2026-05-08", core::Tool::getWeekdayFromDate(localTime(5, 8, 8)) });
    EXPECT_TRUE(textInRegion(title, test::ScreenProbe::toScreen(*header, header->bounds())));
}

TEST_F(AttendanceHistoryTest, HeadersCloseAndReopenTheirDayAndARefreshKeepsThem)
{
    test::ScopedTimeZone zone("Asia/Shanghai");
    setRows({ attendanceRow(1, "正常", localTime(5, 8, 8)), attendanceRow(2, "正常", localTime(5, 8, 16)),
        attendanceRow(1, "正常", localTime(5, 7, 8)), attendanceRow(1, "正常", localTime(5, 6, 8)) });
    auto screen = openFromMenu();
    ASSERT_TRUE(screen);
    ASSERT_EQ(rowCounts(*screen), (std::vector<size_t> { 2, 1, 1 }));

    tap(headerButton(*screen, 1));
    pass(0.5);
    EXPECT_EQ(rowCounts(*screen), (std::vector<size_t> { 2, 0, 1 }));
    EXPECT_TRUE(headerButton(*screen, 1));

    size_t before = requestsTo("LumetSearchCOW");
    screen->refreshTableDidTriggerRefresh(kit::RefreshTableDelegate::FromHeader);
    waitForList(before);
    EXPECT_EQ(requestsTo("LumetSearchCOW"), before + 1);
    EXPECT_EQ(rowCounts(*screen), (std::vector<size_t> { 2, 0, 1 }));

    tap(headerButton(*screen, 1));
    pass(0.5);
    EXPECT_EQ(rowCounts(*screen), (std::vector<size_t> { 2, 1, 1 }));
}

TEST_F(AttendanceHistoryTest, TheEarlierDaysAreCalendarDaysNextToADaylightSavingChange)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    setRows({ attendanceRow(1, "正常", localTime(3, 30, 0, 30)), attendanceRow(1, "正常", localTime(3, 29, 9)),
        attendanceRow(1, "正常", localTime(3, 28, 9)), attendanceRow(1, "正常", localTime(3, 27, 9)) });
    auto screen = openFromMenu();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->days()[1].dateText, "2026-03-29");
    EXPECT_EQ(screen->days()[2].dateText, "2026-03-28");
    EXPECT_EQ(rowCounts(*screen), (std::vector<size_t> { 1, 1, 1 }));
}

TEST_F(AttendanceHistoryTest, AFailedOrUnreadableListIsSaidAndNeverShownAsAWatchWithoutRecords)
{
    // Under the bars, where the first day header would be.
    const gfx::Rect failureLineBand { 0, 64, 320, 60 };
    test::ScopedTimeZone zone("Asia/Shanghai");
    setRows({ attendanceRow(1, "正常", localTime(5, 8, 8)), attendanceRow(1, "正常", localTime(5, 7, 8)) });
    for (auto [name, fault] : replyFaults()) {
        SCOPED_TRACE(name);
        service.faults().set("LumetSearchCOW", fault);
        const char* said = fault.kind == Fault::Kind::DropConnection ? "bad_netword" : "load_failed";

        // The first list fails: no empty state, as if the watch had no records.
        size_t before = requestsTo("LumetSearchCOW");
        showMenu();
        menu()->openRowTitled(base::localized("attendance"));
        std::shared_ptr<AttendanceVC> screen;
        ASSERT_TRUE(pumpUntil([&] {
            screen = topAttendanceScreen();
            return screen && requestsTo("LumetSearchCOW") > before && !screen->isReloading() && networkIdle();
        }));
        clock->advance(0.6s);
        EXPECT_TRUE(screen->emptyStateView()->isHidden());
        EXPECT_TRUE(textInRegion(base::localized(said), { 0, 0, 320, 568 }));
        EXPECT_FALSE(shownAlert());
        pass(2);
        // Once the notice has gone, the failure stays said in place of the day sections.
        EXPECT_TRUE(textInRegion(base::localized(said), failureLineBand));

        // After a list, a refresh that fails keeps its rows.
        service.faults().remove("LumetSearchCOW");
        screen->refreshTableDidTriggerRefresh(kit::RefreshTableDelegate::FromHeader);
        waitForList(requestsTo("LumetSearchCOW"));
        ASSERT_EQ(rowCounts(*screen), (std::vector<size_t> { 1, 1, 0 }));
        EXPECT_FALSE(textInRegion(base::localized(said), failureLineBand));
        service.faults().set("LumetSearchCOW", fault);
        before = requestsTo("LumetSearchCOW");
        screen->refreshTableDidTriggerRefresh(kit::RefreshTableDelegate::FromHeader);
        ASSERT_TRUE(pumpUntil(
            [&] { return requestsTo("LumetSearchCOW") > before && !screen->isReloading() && networkIdle(); }));
        clock->advance(0.6s);
        EXPECT_TRUE(textInRegion(base::localized(said), { 0, 0, 320, 568 }));
        EXPECT_EQ(rowCounts(*screen), (std::vector<size_t> { 1, 1, 0 }));
        EXPECT_TRUE(screen->emptyStateView()->isHidden());
        pass(2);
        EXPECT_FALSE(textInRegion(base::localized(said), { 0, 0, 320, 568 }));
    }

    // A readable empty list is the watch's own: the empty state shows.
    service.faults().clear();
    setRows({});
    auto screen = topAttendanceScreen();
    screen->refreshTableDidTriggerRefresh(kit::RefreshTableDelegate::FromHeader);
    waitForList(requestsTo("LumetSearchCOW"));
    EXPECT_EQ(rowCounts(*screen), (std::vector<size_t> { 0, 0, 0 }));
    EXPECT_FALSE(screen->emptyStateView()->isHidden());
}

TEST_F(AttendanceHistoryTest, TheMenuOpensItWithTheDrawerButtonAndTheHomeScreenPushesItWithout)
{
    auto pushed = openFromHome();
    ASSERT_TRUE(pushed);
    EXPECT_FALSE(pushed->isShowRight());
    EXPECT_FALSE(pushed->navigationItem()->leftBarButtonItem());
    EXPECT_EQ(pushed->deviceDetail(), home()->deviceDetail());

    auto fromMenu = openFromMenu();
    ASSERT_TRUE(fromMenu);
    EXPECT_NE(fromMenu, pushed);
    EXPECT_TRUE(fromMenu->isShowRight());
    EXPECT_TRUE(fromMenu->navigationItem()->leftBarButtonItem());
    EXPECT_EQ(fromMenu->deviceDetail(), menu()->device());
}

// The home screen's detail reply may come late (through a proxy, on a busy machine): the fixture waits for it
// before the home screen pushes the screen for that device.
class AttendanceAfterALateDetail : public AttendanceTest {
protected:
    void SetUp() override
    {
        service.faults().set("GetDeviceDetial", Fault::delay(std::chrono::seconds(1)));
        AttendanceTest::SetUp();
    }
};

TEST_F(AttendanceAfterALateDetail, TheHomeScreenPushesItOnceTheDetailCame)
{
    auto pushed = openFromHome();
    ASSERT_TRUE(pushed);
    EXPECT_EQ(pushed->deviceDetail(), home()->deviceDetail());
}

} // namespace
