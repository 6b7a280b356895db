#include "base/time/Calendar.h"

#include <algorithm>
#include <cmath>

namespace base {

namespace {

    // Whole seconds (toward minus infinity) and the fraction that remains; non-finite dates count as 0.
    struct SplitSeconds {
        int64_t whole;
        double fraction;
    };

    SplitSeconds split(Date date)
    {
        double seconds = date.timeIntervalSince1970();
        if (!std::isfinite(seconds))
            return { 0, 0 };
        double whole = std::floor(seconds);
        if (whole < TimeZone::earliestInstant)
            return { TimeZone::earliestInstant, 0 };
        if (whole > TimeZone::latestInstant)
            return { TimeZone::latestInstant, 0 };
        return { static_cast<int64_t>(whole), seconds - whole };
    }

    bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

    int daysInMonth(int year, int month)
    {
        static constexpr int lengths[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
        return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
    }

} // namespace

DateComponents Calendar::components(Date date) const
{
    std::tm wall = m_zone.wallClock(split(date).whole);
    return { .year = wall.tm_year + 1900,
        .month = wall.tm_mon + 1,
        .day = wall.tm_mday,
        .hour = wall.tm_hour,
        .minute = wall.tm_min,
        .second = wall.tm_sec,
        .weekday = wall.tm_wday + 1 };
}

std::optional<Date> Calendar::date(const DateComponents& fields) const
{
    std::tm wall {};
    wall.tm_year = fields.year - 1900;
    wall.tm_mon = fields.month - 1;
    wall.tm_mday = fields.day;
    wall.tm_hour = fields.hour;
    wall.tm_min = fields.minute;
    wall.tm_sec = fields.second;
    auto seconds = m_zone.instant(wall);
    if (!seconds)
        return std::nullopt;
    return Date::fromTimeIntervalSince1970(static_cast<double>(*seconds));
}

Date Calendar::dateByAdding(const DateComponents& amounts, Date date) const
{
    SplitSeconds parts = split(date);
    DateComponents fields = components(date);
    int64_t months = int64_t(fields.year) * 12 + (fields.month - 1) + int64_t(amounts.year) * 12 + amounts.month;
    if (months < 0 || months >= 10000 * 12)
        return date;
    fields.year = static_cast<int>(months / 12);
    fields.month = static_cast<int>(months % 12) + 1;
    fields.day = std::min(fields.day, daysInMonth(fields.year, fields.month));
    fields.day += amounts.day;
    auto moved = this->date(fields);
    if (!moved)
        return date;
    double elapsed = double(amounts.hour) * 3600 + double(amounts.minute) * 60 + amounts.second;
    return moved->dateByAddingTimeInterval(elapsed + parts.fraction);
}

Date Calendar::startOfDay(Date date) const
{
    DateComponents fields = components(date);
    fields.hour = fields.minute = fields.second = 0;
    return this->date(fields).value_or(Date::fromTimeIntervalSince1970(static_cast<double>(split(date).whole)));
}

bool Calendar::isDateInSameDayAsDate(Date a, Date b) const
{
    DateComponents first = components(a);
    DateComponents second = components(b);
    return first.year == second.year && first.month == second.month && first.day == second.day;
}

} // namespace base
