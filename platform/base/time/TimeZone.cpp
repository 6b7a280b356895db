#include "base/time/TimeZone.h"

#include <algorithm>

namespace base {

namespace {

    int64_t clampedInstant(int64_t instant)
    {
        return std::clamp(instant, TimeZone::earliestInstant, TimeZone::latestInstant);
    }

} // namespace

std::tm TimeZone::wallClock(int64_t instant) const
{
    std::tm wall {};
    if (m_local) {
        // The reentrant form does not reread TZ by itself.
        tzset();
        time_t seconds = clampedInstant(instant);
        localtime_r(&seconds, &wall);
    } else {
        time_t seconds = clampedInstant(instant) + m_offset;
        gmtime_r(&seconds, &wall);
        wall.tm_gmtoff = m_offset;
    }
    return wall;
}

int TimeZone::secondsFromGMT(int64_t instant) const
{
    return m_local ? static_cast<int>(wallClock(instant).tm_gmtoff) : m_offset;
}

std::optional<int64_t> TimeZone::instant(std::tm wall) const
{
    // Fields far outside their ranges would overflow the C library's arithmetic.
    constexpr int limit = 1 << 24;
    for (int field : { wall.tm_sec, wall.tm_min, wall.tm_hour, wall.tm_mday, wall.tm_mon, wall.tm_year })
        if (field < -limit || field > limit)
            return std::nullopt;
    time_t seconds;
    if (m_local) {
        tzset();
        wall.tm_isdst = -1;
        seconds = mktime(&wall);
    } else {
        seconds = timegm(&wall) - m_offset;
    }
    if (seconds < earliestInstant || seconds > latestInstant)
        return std::nullopt;
    return seconds;
}

} // namespace base
