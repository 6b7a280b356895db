#include "base/time/Calendar.h"
#include "DateScopedTimeZone.h"

#include <gtest/gtest.h>

namespace {

// POSIX rules rather than zone names, so the tests need no time-zone database on the machine.
constexpr const char* NewYork = "EST5EDT,M3.2.0,M11.1.0";
constexpr const char* Berlin = "CET-1CEST,M3.5.0,M10.5.0/3";

base::Date localDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return base::Calendar::current()
        .date({ .year = year, .month = month, .day = day, .hour = hour, .minute = minute, .second = second })
        .value();
}

TEST(Calendar, ComponentsFollowTheLocalZone)
{
    test::ScopedTimeZone zone(NewYork);
    // 2014-05-13 16:53:20 UTC is 12:53:20 EDT, a Tuesday.
    auto parts = base::Calendar::current().components(base::Date::fromTimeIntervalSince1970(1400000000));
    EXPECT_EQ(parts,
        (base::DateComponents {
            .year = 2014, .month = 5, .day = 13, .hour = 12, .minute = 53, .second = 20, .weekday = 3 }));

    auto utc = base::Calendar(base::TimeZone::gmt()).components(base::Date::fromTimeIntervalSince1970(1400000000));
    EXPECT_EQ(utc.hour, 16);
}

TEST(Calendar, AddingADayKeepsTheWallClockAcrossDaylightSavingChanges)
{
    test::ScopedTimeZone zone(NewYork);
    base::Calendar calendar;
    // Spring forward on 2024-03-10: that day has 23 hours.
    base::Date before = localDate(2024, 3, 9, 12, 30);
    base::Date after = calendar.dateByAddingDays(1, before);
    EXPECT_EQ(after.timeIntervalSinceDate(before), 23 * 3600);
    EXPECT_EQ(calendar.components(after).hour, 12);
    // Fall back on 2024-11-03: that day has 25 hours.
    base::Date autumn = localDate(2024, 11, 2, 8, 0);
    EXPECT_EQ(calendar.dateByAddingDays(1, autumn).timeIntervalSinceDate(autumn), 25 * 3600);
    EXPECT_EQ(calendar.dateByAddingDays(-1, calendar.dateByAddingDays(1, autumn)), autumn);
}

TEST(Calendar, AddingDaysInBerlinCrossesTheOctoberChange)
{
    test::ScopedTimeZone zone(Berlin);
    base::Calendar calendar;
    base::Date start = localDate(2024, 10, 26, 23, 15);
    base::Date later = calendar.dateByAddingDays(2, start);
    EXPECT_EQ(later.timeIntervalSinceDate(start), 49 * 3600);
    auto parts = calendar.components(later);
    EXPECT_EQ(parts.day, 28);
    EXPECT_EQ(parts.hour, 23);
    EXPECT_EQ(parts.minute, 15);
}

TEST(Calendar, AWallClockTimeSkippedBySpringForwardMovesForward)
{
    test::ScopedTimeZone zone(NewYork);
    base::Calendar calendar;
    base::Date target = calendar.dateByAddingDays(1, localDate(2024, 3, 9, 2, 30));
    auto parts = calendar.components(target);
    EXPECT_EQ(parts.day, 10);
    EXPECT_EQ(parts.hour, 3);
    EXPECT_EQ(parts.minute, 30);
}

TEST(Calendar, StartOfDayOnShortAndLongDays)
{
    test::ScopedTimeZone zone(NewYork);
    base::Calendar calendar;
    EXPECT_EQ(calendar.startOfDay(localDate(2024, 3, 10, 20, 0)), localDate(2024, 3, 10));
    base::Date longDay = calendar.startOfDay(localDate(2024, 11, 3, 23, 59, 59));
    EXPECT_EQ(calendar.components(longDay).hour, 0);
    EXPECT_EQ(calendar.dateByAddingDays(1, longDay).timeIntervalSinceDate(longDay), 25 * 3600);
}

TEST(Calendar, MonthArithmeticClampsToTheLastDay)
{
    test::ScopedTimeZone zone(Berlin);
    base::Calendar calendar;
    auto parts = calendar.components(calendar.dateByAdding({ .month = 1 }, localDate(2024, 1, 31, 9, 0)));
    EXPECT_EQ(parts.month, 2);
    EXPECT_EQ(parts.day, 29);
    parts = calendar.components(calendar.dateByAdding({ .year = 1 }, localDate(2024, 2, 29)));
    EXPECT_EQ(parts.year, 2025);
    EXPECT_EQ(parts.day, 28);
    parts = calendar.components(calendar.dateByAdding({ .month = -13 }, localDate(2024, 1, 15)));
    EXPECT_EQ(parts.year, 2022);
    EXPECT_EQ(parts.month, 12);
}

TEST(Calendar, HoursAddElapsedTimeAndFractionsSurvive)
{
    test::ScopedTimeZone zone(NewYork);
    base::Calendar calendar;
    base::Date start = localDate(2024, 3, 10, 1, 0).dateByAddingTimeInterval(0.25);
    base::Date later = calendar.dateByAdding({ .hour = 2 }, start);
    EXPECT_EQ(later.timeIntervalSinceDate(start), 7200);
    EXPECT_EQ(calendar.components(later).hour, 4); // 01:00 EST + 2 h is 04:00 EDT
}

TEST(Calendar, WeekdaysRunFromSundayAsOne)
{
    base::Calendar utc(base::TimeZone::gmt());
    EXPECT_EQ(utc.weekday(base::Date::fromTimeIntervalSince1970(0)), 5); // Thursday, 1 January 1970
    EXPECT_EQ(utc.weekday(base::Date::fromTimeIntervalSince1970(3 * 86400)), 1);
    EXPECT_EQ(utc.weekday(base::Date::fromTimeIntervalSince1970(-86400)), 4);
}

TEST(Calendar, SameDayIsDecidedInTheCalendarsZone)
{
    base::Date lateEvening = base::Date::fromTimeIntervalSince1970(1400025600 - 60); // 23:59 UTC
    base::Date nextMorning = base::Date::fromTimeIntervalSince1970(1400025600 + 60);
    EXPECT_FALSE(base::Calendar(base::TimeZone::gmt()).isDateInSameDayAsDate(lateEvening, nextMorning));
    EXPECT_TRUE(base::Calendar(base::TimeZone::fixed(8 * 3600)).isDateInSameDayAsDate(lateEvening, nextMorning));
}

TEST(Calendar, DatesOutsideTheCalendarsRangeAreRefused)
{
    base::Calendar calendar(base::TimeZone::gmt());
    EXPECT_FALSE(calendar.date({ .year = 10000, .month = 1, .day = 1 }));
    EXPECT_FALSE(calendar.date({ .year = 2000, .month = 1, .day = 1 << 30 }));
    base::Date far = base::Date::fromTimeIntervalSince1970(1e300);
    EXPECT_EQ(calendar.components(far).year, 9999);
    EXPECT_EQ(calendar.dateByAdding({ .year = 20000 }, base::Date()), base::Date());
}

} // namespace
