// base::Clock: where the process reads time. It gives a monotonic instant for timers and delays and the wall
// time for base::Date::now(). The application runs on the system clock; tests install a ManualClock, whose
// time moves only when the test advances it. Safe to read from any thread.
//
//   base::Clock::TimePoint started = base::Clock::currentInstant();
//   base::Date today = base::Date::now(); // the installed clock's wall time
#pragma once

#include "base/time/Date.h"

#include <chrono>
#include <ctime>
#include <memory>

namespace base {

// Delays and intervals, in seconds; 250ms and 0.25s both convert to it.
using Duration = std::chrono::duration<double>;

class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;

    // The monotonic instant: never goes back, unaffected by changes of the wall time.
    virtual TimePoint now() const = 0;
    // The wall time.
    virtual Date date() const = 0;
    // False for a clock that moves only when told (the run loop then never waits for its timers).
    virtual bool advancesByItself() const = 0;

    static std::shared_ptr<Clock> current();
    // current()->now(), without the installed clock's lock or a reference count while the system clock is
    // installed: the run loop reads it on every post.
    static TimePoint currentInstant();
    static void install(std::shared_ptr<Clock> clock);
    // The real clock: steady time for instants, the system's time for dates.
    static std::shared_ptr<Clock> system();

    // A delay as a span of monotonic time, rounded to the clock's tick; negative delays count as none.
    static TimePoint::duration ticks(Duration delay);
};

// A span of the steady clock as the timespec the system's waits take (ppoll's time-out, a timerfd's absolute
// time from the clock's epoch); a negative span gives zero.
timespec toTimespec(std::chrono::steady_clock::duration span);

} // namespace base
