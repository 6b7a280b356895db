#include "media/playback/SampleClock.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {

    using Ticks = base::Clock::TimePoint::duration;
    constexpr __int128 TicksPerSecond = Ticks::period::den / Ticks::period::num;

} // namespace

SampleClock::SampleClock(double sampleRate, base::Clock::TimePoint start)
    : m_rate(std::max<int64_t>(1, std::llround(sampleRate)))
    , m_start(start)
{
}

int64_t SampleClock::framesAt(base::Clock::TimePoint instant) const
{
    if (instant <= m_start)
        return 0;
    __int128 ticks = (instant - m_start).count();
    return static_cast<int64_t>(ticks * m_rate / TicksPerSecond);
}

base::Clock::TimePoint SampleClock::instantOfFrame(int64_t frames) const
{
    if (frames <= 0)
        return m_start;
    __int128 ticks = (static_cast<__int128>(frames) * TicksPerSecond + m_rate - 1) / m_rate;
    return m_start + Ticks(static_cast<Ticks::rep>(ticks));
}

} // namespace media
