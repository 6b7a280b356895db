// base::ManualClock: the clock of tests. Its time stands still until the test advances it; advancing runs the
// main run loop through every timer and delayed task that falls due, in order, each at its own instant.
// Install it on the main thread before the code under test reads time; read it from any thread.
//
//   auto clock = base::ManualClock::install();
//   base::Timer::scheduled(0.5s, false, [&](base::Timer&) { fired = true; });
//   clock->advance(0.5s); // fired, with Date::now() 0.5 s later than before
#pragma once

#include "base/time/Clock.h"

#include <atomic>
#include <memory>

namespace base {

class ManualClock final : public Clock {
public:
    // 2014-06-01 00:00:00 UTC: a fixed start keeps dates in tests reproducible.
    static constexpr Date defaultStart = Date::fromTimeIntervalSince1970(1401580800);

    explicit ManualClock(Date start = defaultStart);
    // Makes a manual clock and installs it as the current clock.
    static std::shared_ptr<ManualClock> install(Date start = defaultStart);

    TimePoint now() const override;
    Date date() const override;
    bool advancesByItself() const override { return false; }

    // Main thread; this clock must be the installed one. Same as RunLoop::main().advance(delay).
    void advance(Duration delay);

private:
    friend class RunLoop;
    void setNow(TimePoint instant);

    Date m_start;
    std::atomic<TimePoint::rep> m_elapsed { 0 };
};

} // namespace base
