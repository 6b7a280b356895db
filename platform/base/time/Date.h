// base::Date: an instant, as seconds since 1970-01-01 00:00:00 UTC (fractional). A plain value type usable
// on any thread. Formatting, parsing and calendar arithmetic live in DateFormatter.h and Calendar.h.
//
//   base::Date now = base::Date::now();
//   double age = now.timeIntervalSinceDate(earlier);
#pragma once

#include <compare>

namespace base {

class Date {
public:
    constexpr Date() = default;
    static constexpr Date fromTimeIntervalSince1970(double seconds) { return Date(seconds); }
    // The current instant of the process clock (the manual clock in tests; see Clock.h).
    static Date now();

    constexpr double timeIntervalSince1970() const { return m_seconds; }
    constexpr double timeIntervalSinceDate(Date other) const { return m_seconds - other.m_seconds; }
    constexpr Date dateByAddingTimeInterval(double seconds) const { return Date(m_seconds + seconds); }

    constexpr auto operator<=>(const Date&) const = default;

private:
    constexpr explicit Date(double seconds)
        : m_seconds(seconds)
    {
    }
    double m_seconds { 0 };
};

} // namespace base
