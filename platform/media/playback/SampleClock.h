// media::SampleClock: counts sample frames along the run loop's clock, so that a scripted input delivers and a
// player advances exactly rate x elapsed frames, with integer arithmetic (no drift, no rounding surprises at
// whole tenths of a second).
//
//   media::SampleClock clock(8000, base::Clock::current()->now());
//   int64_t due = clock.framesAt(base::Clock::current()->now()); // 8000 one second later
#pragma once

#include "base/time/Clock.h"

#include <cstdint>

namespace media {

class SampleClock {
public:
    SampleClock(double sampleRate, base::Clock::TimePoint start);

    // Whole frames elapsed between the start and `instant` (0 before the start).
    int64_t framesAt(base::Clock::TimePoint instant) const;
    // The earliest instant at which `frames` frames have elapsed.
    base::Clock::TimePoint instantOfFrame(int64_t frames) const;
    base::Clock::TimePoint start() const { return m_start; }

private:
    int64_t m_rate;
    base::Clock::TimePoint m_start;
};

} // namespace media
