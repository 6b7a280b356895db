// base::Timer: a one-shot or repeating timer on the main run loop. A scheduled timer keeps itself and its block
// (with whatever the block captures, usually the receiver) alive until it has fired for the last time or is
// invalidated; invalidating from inside its own block is allowed. A repeating timer fires at start + n x
// interval, skipping the instants the loop was too busy to meet. Main thread only.
//
//   m_meteringTimer = base::Timer::scheduled(0.1s, true, [self = shared_from_this()](base::Timer&) { self->tick(); });
//   m_meteringTimer->invalidate(); // releases the block, and with it the receiver
#pragma once

#include "base/time/Clock.h"
#include "base/loop/RunLoop.h"

#include <functional>
#include <memory>

namespace base {

class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Block = std::function<void(Timer&)>;

    // Schedules a timer that first fires `interval` from now. A repeating timer's interval is at least 0.1 ms.
    static std::shared_ptr<Timer> scheduled(Duration interval, bool repeats, Block block);

    void invalidate();
    bool isValid() const { return m_valid; }
    Duration timeInterval() const { return m_interval; }
    bool repeats() const { return m_repeats; }

private:
    struct Token { };

public:
    Timer(Token, Duration interval, bool repeats, Block block);

private:
    void scheduleAt(Clock::TimePoint due);
    void fire();

    Duration m_interval;
    bool m_repeats;
    Block m_block;
    bool m_valid { true };
    bool m_firing { false };
    Clock::TimePoint m_due;
    RunLoop::TaskHandle m_pending;
};

} // namespace base
