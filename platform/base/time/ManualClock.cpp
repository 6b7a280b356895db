#include "base/time/ManualClock.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"

#include <cassert>

namespace base {

ManualClock::ManualClock(Date start)
    : m_start(start)
{
    BASE_ASSERT_MAIN_THREAD();
}

std::shared_ptr<ManualClock> ManualClock::install(Date start)
{
    BASE_ASSERT_MAIN_THREAD();
    auto clock = std::make_shared<ManualClock>(start);
    Clock::install(clock);
    return clock;
}

Clock::TimePoint ManualClock::now() const { return TimePoint(TimePoint::duration(m_elapsed.load())); }

Date ManualClock::date() const
{
    Duration elapsed = now().time_since_epoch();
    return m_start.dateByAddingTimeInterval(elapsed.count());
}

void ManualClock::advance(Duration delay)
{
    BASE_ASSERT_MAIN_THREAD();
    assert(Clock::current().get() == this && "advance a manual clock only while it is installed");
    RunLoop::main().advance(delay);
}

void ManualClock::setNow(TimePoint instant)
{
    if (instant.time_since_epoch().count() > m_elapsed.load())
        m_elapsed.store(instant.time_since_epoch().count());
}

} // namespace base
