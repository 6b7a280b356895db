#include "base/time/Clock.h"

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

void Clock::install(std::shared_ptr<Clock> clock)
{
    std::lock_guard lock(installedClockMutex());
    installedClock() = clock ? std::move(clock) : system();
}

Clock::TimePoint::duration Clock::ticks(Duration delay)
{
    if (!(delay.count() > 0))
        return TimePoint::duration::zero();
    return std::chrono::round<TimePoint::duration>(delay);
}

Date Date::now() { return Clock::current()->date(); }

} // namespace base
