// The class schedule's week header: the Monday-to-Sunday day numbers around today, on the manual clock, in a
// zone with daylight saving, across month and year ends, and the two month labels.
#include "base/time/Calendar.h"
#include "base/ClockFixture.h"
#include "base/DateScopedTimeZone.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "childcare/schedule/DateUtils.h"

#include <limits>

namespace {

using Header = std::vector<std::string>;
using childcare::DateUtils;

class WeekDates : public test::ManualClockTest {
protected:
    // Sets the clock to a local wall-clock time.
    void today(int year, int month, int day, int hour = 10, int minute = 0)
    {
        auto date = base::Calendar::current().date(
            { .year = year, .month = month, .day = day, .hour = hour, .minute = minute });
        ASSERT_TRUE(date);
        clock = base::ManualClock::install(*date);
    }
    static Header days(const Header& header) { return Header(header.begin() + 1, header.end()); }
    static std::string monthLabel(int month)
    {
        return base::LocalizedFormat::format(base::localized("month"), { month });
    }

    test::ScopedTimeZone zone { "Europe/Berlin" };
};

TEST_F(WeekDates, AMondayBeginsItsOwnWeekAndASundayEndsThePreviousOne)
{
    today(2014, 6, 2);
    EXPECT_EQ(days(DateUtils::getDatesOfCurrence()), (Header { "2", "3", "4", "5", "6", "7", "8" }));
    today(2014, 6, 8, 23, 59);
    EXPECT_EQ(days(DateUtils::getDatesOfCurrence()), (Header { "2", "3", "4", "5", "6", "7", "8" }));
    today(2014, 6, 9, 0, 0);
    EXPECT_EQ(DateUtils::getDatesOfCurrence()[1], "9");
}

TEST_F(WeekDates, AWeekAcrossAMonthEndRestartsAtOneAndTheLabelNamesTodaysMonth)
{
    today(2014, 10, 1);
    Header header = DateUtils::getDatesOfCurrence();
    ASSERT_EQ(header.size(), DateUtils::EntryCount);
    EXPECT_EQ(header[0], monthLabel(10));
    EXPECT_EQ(days(header), (Header { "29", "30", "1", "2", "3", "4", "5" }));

    today(2014, 7, 31);
    EXPECT_EQ(days(DateUtils::getDatesOfCurrence()), (Header { "28", "29", "30", "31", "1", "2", "3" }));
}

TEST_F(WeekDates, OffsetWeeksMoveByCalendarDaysAcrossADaylightSavingChange)
{
    // Summer time begins in Berlin on Sunday 30 March 2014; a week later than Sunday 23 at 23:30 is still a
    // Sunday, in the week that began on Monday 24.
    today(2014, 3, 23, 23, 30);
    Header header = DateUtils::getDatesSinceCurence(1);
    EXPECT_EQ(header[0], "3月");
    EXPECT_EQ(days(header), (Header { "24", "25", "26", "27", "28", "29", "30" }));
    // Back across the autumn change, from a late Monday.
    today(2014, 11, 3, 23, 45);
    EXPECT_EQ(days(DateUtils::getDatesSinceCurence(-1)), (Header { "27", "28", "29", "30", "31", "1", "2" }));
    EXPECT_EQ(DateUtils::getDatesSinceCurence(-1)[0], "10月");
}

TEST_F(WeekDates, OffsetWeeksCrossTheYearAndFarOffsetsStayAWeek)
{
    today(2015, 1, 7);
    Header back = DateUtils::getDatesSinceCurence(-1);
    EXPECT_EQ(back[0], "12月");
    EXPECT_EQ(days(back), (Header { "29", "30", "31", "1", "2", "3", "4" }));
    EXPECT_EQ(DateUtils::getDatesSinceCurence(0), Header({ "1月", "5", "6", "7", "8", "9", "10", "11" }));

    // Far past what a 32-bit count of seconds could hold, and the extremes: still seven following days.
    for (int64_t weeks : { int64_t { 3551 }, int64_t { -40000 }, std::numeric_limits<int64_t>::max(),
             std::numeric_limits<int64_t>::min() }) {
        Header header = DateUtils::getDatesSinceCurence(weeks);
        ASSERT_EQ(header.size(), DateUtils::EntryCount);
        for (size_t i = 2; i < header.size(); ++i)
            EXPECT_TRUE(std::stoi(header[i]) == std::stoi(header[i - 1]) + 1 || header[i] == "1") << weeks;
    }
}

} // namespace
