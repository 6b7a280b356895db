#include "base/time/Timer.h"

#include "base/loop/MainThread.h"

#include <algorithm>
#include <utility>

namespace base {

namespace {

    // A repeating timer with no interval would keep the loop in one instant for ever.
    constexpr Duration minimumRepeatInterval { 0.0001 };

} // namespace

Timer::Timer(Token, Duration interval, bool repeats, Block block)
    : m_interval(repeats ? std::max(interval, minimumRepeatInterval) : interval)
    , m_repeats(repeats)
    , m_block(std::move(block))
{
}

std::shared_ptr<Timer> Timer::scheduled(Duration interval, bool repeats, Block block)
{
    BASE_ASSERT_MAIN_THREAD();
    auto timer = std::make_shared<Timer>(Token {}, interval, repeats, std::move(block));
    timer->scheduleAt(Clock::currentInstant() + Clock::ticks(timer->m_interval));
    return timer;
}

void Timer::scheduleAt(Clock::TimePoint due)
{
    m_due = due;
    m_pending = RunLoop::main().performAt(due, [self = shared_from_this()] { self->fire(); });
}

void Timer::invalidate()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_valid)
        return;
    m_valid = false;
    RunLoop::main().cancel(std::exchange(m_pending, nullptr));
    // While the block runs it stays; fire() drops it when it returns.
    if (!m_firing)
        m_block = nullptr;
}

void Timer::fire()
{
    if (!m_valid)
        return;
    if (m_repeats) {
        Clock::TimePoint now = Clock::currentInstant();
        auto step = Clock::ticks(m_interval);
        Clock::TimePoint next = m_due + step;
        if (next <= now)
            next += step * ((now - next) / step + 1);
        scheduleAt(next);
    }
    m_firing = true;
    m_block(*this);
    m_firing = false;
    if (!m_repeats)
        invalidate();
    if (!m_valid)
        m_block = nullptr;
}

} // namespace base
