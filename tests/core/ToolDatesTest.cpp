#include "base/DateScopedTimeZone.h"
#include "base/text/Localization.h"
#include "core/readers/Tool.h"

#include <gtest/gtest.h>

using core::Tool;

namespace {

// 2014-05-13 16:53:20 UTC, a Tuesday.
const base::Date May13 = base::Date::fromTimeIntervalSince1970(1400000000);

TEST(ToolDates, ServiceDateTextReadsMillisecondsSince1970)
{
    EXPECT_EQ(Tool::getDateFromStringSince1970("/Date(1400000000000)/"), May13);
    EXPECT_EQ(Tool::getDateFromStringSince1970("/Date(1400000000000+0800)/"), May13);
    EXPECT_EQ(Tool::getDateFromStringSince1970("/Date(1400000000500)/"), May13.dateByAddingTimeInterval(0.5));
    EXPECT_EQ(Tool::getDateFromStringSince1970("/Date(-86400000)/"), base::Date::fromTimeIntervalSince1970(-86400));
    EXPECT_FALSE(Tool::getDateFromStringSince1970(""));
    EXPECT_FALSE(Tool::getDateFromStringSince1970("  "));
}

TEST(ToolDates, TextsInTheDevicesTimeZone)
{
    test::ScopedTimeZone zone("Asia/Shanghai");
    EXPECT_EQ(Tool::stringFromDate(May13), "05/14/2014 00:53:20");
    EXPECT_EQ(Tool::stringCNFromDate(May13), "00:53");
    EXPECT_EQ(Tool::getWeekdayFromDate(May13), base::localized("web"));
}

TEST(ToolDates, WeekdayKeysFromSundayToSaturday)
{
    test::ScopedTimeZone zone("UTC");
    const char* keys[] = { "tues", "web", "thur", "fri", "sat", "sun", "mon" };
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(Tool::getWeekdayFromDate(May13.dateByAddingTimeInterval(day * 86400.0)), base::localized(keys[day]));
}

} // namespace
