// base::Calendar: the Gregorian calendar in a time zone (the local one by default, honouring TZ). Breaks
// dates into components and does calendar arithmetic that is right across daylight-saving changes: adding a
// day keeps the wall-clock time even when that day is 23 or 25 hours long. A plain value type.
//
//   base::Calendar calendar = base::Calendar::current();
//   base::Date tomorrow = calendar.dateByAddingDays(1, base::Date::now());
//   base::Date midnight = calendar.startOfDay(tomorrow);
#pragma once

#include "base/time/Date.h"
#include "base/time/DateComponents.h"
#include "base/time/TimeZone.h"

#include <optional>

namespace base {

class Calendar {
public:
    explicit Calendar(TimeZone zone = TimeZone::local())
        : m_zone(zone)
    {
    }
    static Calendar current() { return Calendar(); }

    const TimeZone& timeZone() const { return m_zone; }

    // All fields, weekday included. Fractions of a second are dropped.
    DateComponents components(Date date) const;
    // The date of the year, month, day, hour, minute and second fields (out-of-range fields carry over,
    // as in TimeZone::instant); nothing outside the years 1 to 9999.
    [[nodiscard]] std::optional<Date> date(const DateComponents& fields) const;

    // Years, months and days move the calendar date and keep the wall-clock time (a day past the end of
    // the new month becomes its last day: January 31 plus one month is February 28 or 29); hours, minutes
    // and seconds then add elapsed time. Fractions of a second are kept. Out of range: the date unchanged.
    Date dateByAdding(const DateComponents& amounts, Date date) const;
    Date dateByAddingDays(int days, Date date) const { return dateByAdding({ .day = days }, date); }

    // The first instant of the date's day (midnight, or the first time after it when a change skips it).
    Date startOfDay(Date date) const;
    // 1 Sunday to 7 Saturday.
    int weekday(Date date) const { return components(date).weekday; }
    bool isDateInSameDayAsDate(Date a, Date b) const;

private:
    TimeZone m_zone;
};

} // namespace base
