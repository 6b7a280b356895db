#include "childcare/attendance/AttendanceDays.h"
#include "base/time/Calendar.h"
#include "base/DateScopedTimeZone.h"
#include "childcare/attendance/AttendanceRowTexts.h"
#include "childcare/attendance/AttendanceSchoolTime.h"
#include "core/readers/Tool.h"

#include <gtest/gtest.h>

namespace {

using childcare::AttendanceDays;

base::Date localTime(int year, int month, int day, int hour, int minute = 0)
{
    return *base::Calendar::current().date(
        { .year = year, .month = month, .day = day, .hour = hour, .minute = minute });
}

std::shared_ptr<core::LumetDeviceConfig> row(
    std::optional<base::Date> time, int64_t type = 1, std::string state = "正常")
{
    auto config = std::make_shared<core::LumetDeviceConfig>();
    config->type = type;
    config->state = std::move(state);
    config->dateTime = time;
    return config;
}

std::vector<std::string> dayTexts(const AttendanceDays::Days& days)
{
    return { days[0].dateText, days[1].dateText, days[2].dateText };
}

TEST(AttendanceDays, ListsTheFirstRowsDayAndTheTwoBeforeInReplyOrder)
{
    test::ScopedTimeZone zone("Asia/Shanghai");
    core::EasyUIDataGrid grid;
    for (int day = 10; day >= 6; --day) {
        grid.rows.push_back(row(localTime(2026, 5, day, 8), 1));
        grid.rows.push_back(row(localTime(2026, 5, day, 16), 2));
    }
    auto days = AttendanceDays::sort(&grid);
    ASSERT_TRUE(days);
    EXPECT_EQ(dayTexts(*days), (std::vector<std::string> { "2026-05-10", "2026-05-09", "2026-05-08" }));
    for (size_t i = 0; i < AttendanceDays::count; ++i) {
        ASSERT_EQ((*days)[i].rows.size(), 2u);
        EXPECT_EQ((*days)[i].rows[0], grid.rows[2 * i]);
        EXPECT_EQ((*days)[i].rows[1], grid.rows[2 * i + 1]);
    }
    EXPECT_EQ((*days)[0].weekday, core::Tool::getWeekdayFromDate(localTime(2026, 5, 10, 8)));
    EXPECT_EQ((*days)[2].weekday, core::Tool::getWeekdayFromDate(localTime(2026, 5, 8, 8)));
}

TEST(AttendanceDays, TheFirstRowIsTheReferenceEvenWhenLaterRowsAreNewer)
{
    test::ScopedTimeZone zone("Asia/Shanghai");
    core::EasyUIDataGrid grid;
    grid.rows = { row(localTime(2026, 5, 8, 8)), row(localTime(2026, 5, 10, 8)), row(localTime(2026, 5, 6, 8)),
        row(localTime(2026, 5, 7, 8)) };
    auto days = AttendanceDays::sort(&grid);
    ASSERT_TRUE(days);
    EXPECT_EQ(dayTexts(*days), (std::vector<std::string> { "2026-05-08", "2026-05-07", "2026-05-06" }));
    EXPECT_EQ((*days)[0].rows, std::vector { grid.rows[0] });
    EXPECT_EQ((*days)[1].rows, std::vector { grid.rows[3] });
    EXPECT_EQ((*days)[2].rows, std::vector { grid.rows[2] });
}

TEST(AttendanceDays, RowsWithoutATimeAreNeitherTheReferenceNorListed)
{
    test::ScopedTimeZone zone("Asia/Shanghai");
    core::EasyUIDataGrid grid;
    grid.rows = { row(std::nullopt), row(localTime(2026, 5, 9, 8)), row(std::nullopt), row(localTime(2026, 5, 8, 8)) };
    auto days = AttendanceDays::sort(&grid);
    ASSERT_TRUE(days);
    EXPECT_EQ((*days)[0].dateText, "2026-05-09");
    EXPECT_EQ((*days)[0].rows, std::vector { grid.rows[1] });
    EXPECT_EQ((*days)[1].rows, std::vector { grid.rows[3] });
    EXPECT_TRUE((*days)[2].rows.empty());

    core::EasyUIDataGrid untimed;
    untimed.rows = { row(std::nullopt) };
    EXPECT_FALSE(AttendanceDays::sort(&untimed));
    EXPECT_FALSE(AttendanceDays::sort(nullptr));
    core::EasyUIDataGrid empty;
    EXPECT_FALSE(AttendanceDays::sort(&empty));
}

// Just after the spring change a day is 23 hours long: 24 hours back from 00:30 lands two calendar days
// back, and 24 hours back from 23:30 on the autumn day of 25 hours stays on the same day.
TEST(AttendanceDays, EarlierDaysAreCalendarDaysAcrossDaylightSavingChanges)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    core::EasyUIDataGrid spring;
    spring.rows
        = { row(localTime(2026, 3, 30, 0, 30)), row(localTime(2026, 3, 29, 9)), row(localTime(2026, 3, 28, 9)) };
    auto days = AttendanceDays::sort(&spring);
    ASSERT_TRUE(days);
    EXPECT_EQ(dayTexts(*days), (std::vector<std::string> { "2026-03-30", "2026-03-29", "2026-03-28" }));
    EXPECT_EQ((*days)[1].rows.size(), 1u);
    EXPECT_EQ((*days)[1].weekday, core::Tool::getWeekdayFromDate(localTime(2026, 3, 29, 9)));

    core::EasyUIDataGrid autumn;
    autumn.rows = { row(localTime(2026, 10, 25, 23, 30)), row(localTime(2026, 10, 24, 9)) };
    days = AttendanceDays::sort(&autumn);
    ASSERT_TRUE(days);
    EXPECT_EQ(dayTexts(*days), (std::vector<std::string> { "2026-10-25", "2026-10-24", "2026-10-23" }));
    EXPECT_EQ((*days)[1].rows.size(), 1u);
}

TEST(AttendanceRowTexts, KnownKindsOnlyAndTheStateFillsTheTitle)
{
    test::ScopedTimeZone zone("Asia/Shanghai");
    base::Date time = localTime(2026, 5, 9, 7, 45);
    auto late = childcare::AttendanceRowTexts::of(*row(time, 1, "迟到"));
    ASSERT_TRUE(late);
    EXPECT_EQ(late->iconName, "kq_warn.png");
    EXPECT_NE(late->title.find("迟到"), std::string::npos);
    EXPECT_NE(late->subtitle.find("05/09/2026 07:45:00"), std::string::npos);
    auto left = childcare::AttendanceRowTexts::of(*row(time, 2, "正常"));
    ASSERT_TRUE(left);
    EXPECT_EQ(left->iconName, "kq_out.png");

    EXPECT_FALSE(childcare::AttendanceRowTexts::of(*row(time, 3, "正常")));
    EXPECT_FALSE(childcare::AttendanceRowTexts::of(*row(time, 1, "早退")));
    EXPECT_FALSE(childcare::AttendanceRowTexts::of(*row(time, 2, "迟到")));
    auto noType = row(time);
    noType->type.reset();
    EXPECT_FALSE(childcare::AttendanceRowTexts::of(*noType));
}

TEST(AttendanceSchoolTime, OnlyAPositiveReadableDateIsATime)
{
    test::ScopedTimeZone zone("Asia/Shanghai");
    using childcare::AttendanceSchoolTime;
    // 2026-05-09 07:30 in Shanghai.
    EXPECT_EQ(AttendanceSchoolTime::fromConfig(core::ConfigText("/Date(1778283000000)/")), "07:30");
    EXPECT_FALSE(AttendanceSchoolTime::fromConfig(core::ConfigText::null()));
    EXPECT_FALSE(AttendanceSchoolTime::fromConfig(core::ConfigText("")));
    EXPECT_FALSE(AttendanceSchoolTime::fromConfig(core::ConfigText("   ")));
    EXPECT_FALSE(AttendanceSchoolTime::fromConfig(core::ConfigText("/Date(soon)/")));
    EXPECT_FALSE(AttendanceSchoolTime::fromConfig(core::ConfigText("/Date(0)/")));
    EXPECT_FALSE(AttendanceSchoolTime::fromConfig(core::ConfigText("/Date(-62135596800000)/")));
    EXPECT_EQ(AttendanceSchoolTime::uploadText("2026-05-09", "07:30"), "2026-05-09 07:30:00");
}

} // namespace
