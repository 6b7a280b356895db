#include "base/time/Clock.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace base {

namespace {

    class SystemClock final : public Clock {
    public:
        TimePoint now() const override { return std::chrono::steady_clock::now(); }
        Date date() const override
        {
            Duration sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
            return Date::fromTimeIntervalSince1970(sinceEpoch.count());
        }
        bool advancesByItself() const override { return true; }
    };

    std::mutex& installedClockMutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    std::shared_ptr<Clock>& installedClock()
    {
        static std::shared_ptr<Clock> clock = Clock::system();
        return clock;
    }

    // Set while the system clock is the installed one; written under the installed clock's lock.
    std::atomic<bool> systemClockInstalled { true };

} // namespace

std::shared_ptr<Clock> Clock::system()
{
    static const std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
    return clock;
}

std::shared_ptr<Clock> Clock::current()
{
    std::lock_guard lock(installedClockMutex());
    return installedClock();
}

Clock::TimePoint Clock::currentInstant()
{
    if (systemClockInstalled.load(std::memory_order_acquire))
        return std::chrono::steady_clock::now();
    return current()->now();
}

void Clock::install(std::shared_ptr<Clock> clock)
{
    std::lock_guard lock(installedClockMutex());
    installedClock() = clock ? std::move(clock) : system();
    systemClockInstalled.store(installedClock() == system(), std::memory_order_release);
}

Clock::TimePoint::duration Clock::ticks(Duration delay)
{
    if (!(delay.count() > 0))
        return TimePoint::duration::zero();
    return std::chrono::round<TimePoint::duration>(delay);
}

Date Date::now() { return Clock::current()->date(); }

timespec toTimespec(std::chrono::steady_clock::duration span)
{
    span = std::max(span, std::chrono::steady_clock::duration::zero());
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
    timespec time {};
    time.tv_sec = static_cast<time_t>(seconds.count());
    time.tv_nsec = static_cast<long>(std::chrono::nanoseconds(span - seconds).count());
    return time;
}

} // namespace base
