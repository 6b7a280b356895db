// base::TimeZone: the device's local time zone (whatever TZ names at the moment of each conversion, so tests
// can switch zones with setenv and tzset) or a fixed offset from GMT. Converts between instants and wall-clock
// fields. A plain value type; local conversions use the C library's reentrant functions and may run on any
// thread, but changing TZ while another thread converts is the caller's race.
//
//   base::TimeZone zone = base::TimeZone::local();
//   std::tm wall = zone.wallClock(1400000000);             // fields in local time
//   std::optional<int64_t> again = zone.instant(wall);      // 1400000000
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace base {

class TimeZone {
public:
    static TimeZone local() { return TimeZone(true, 0); }
    static TimeZone fixed(int secondsFromGMT) { return TimeZone(false, secondsFromGMT); }
    static TimeZone gmt() { return fixed(0); }

    bool isLocal() const { return m_local; }
    int secondsFromGMT(int64_t instant) const;

    // Seconds since 1970 are clamped to the years 1 to 9999 before conversion.
    std::tm wallClock(int64_t instant) const;
    // The instant of a wall-clock time; out-of-range fields carry over (minute 60 is the next hour, day 0
    // the last day of the month before). A local time that a daylight-saving change skips moves forward
    // by the change; one that occurs twice takes the zone's first choice. Nothing when the result lies
    // outside the years 1 to 9999.
    [[nodiscard]] std::optional<int64_t> instant(std::tm wall) const;

    bool operator==(const TimeZone& other) const = default;

    static constexpr int64_t earliestInstant = -62135596800; // 0001-01-01 00:00:00 UTC
    static constexpr int64_t latestInstant = 253402300799; // 9999-12-31 23:59:59 UTC

private:
    TimeZone(bool local, int offset)
        : m_local(local)
        , m_offset(offset)
    {
    }
    bool m_local;
    int m_offset;
};

} // namespace base
