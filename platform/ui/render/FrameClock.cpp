#include "ui/render/FrameClock.h"

#include "base/loop/MainThread.h"
#include "ui/view/UpdateCycle.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    uint64_t frameNumberAt(base::Clock::TimePoint instant)
    {
        double seconds = base::Duration(instant.time_since_epoch()).count();
        return static_cast<uint64_t>(std::floor(seconds * FrameClock::framesPerSecond + 1e-6));
    }

    base::Clock::TimePoint frameInstant(uint64_t number)
    {
        return base::Clock::TimePoint(base::Clock::ticks(base::Duration(number / FrameClock::framesPerSecond)));
    }

} // namespace

FrameClock& FrameClock::main()
{
    static FrameClock* clock = new FrameClock;
    return *clock;
}

FrameClock::FrameClock()
{
    UpdateCycle::main();
    base::RunLoop::main().addAnimationTickObserver([this](base::Clock::TimePoint instant) { tick(instant); });
}

base::Clock::TimePoint FrameClock::now() const { return m_inFrame ? m_frameInstant : base::Clock::current()->now(); }

uint64_t FrameClock::addFrameObserver(FrameObserver observer)
{
    BASE_ASSERT_MAIN_THREAD();
    uint64_t id = m_nextId++;
    m_observers.push_back({ id, std::move(observer) });
    scheduleNextFrame(base::Clock::current()->now());
    return id;
}

void FrameClock::removeFrameObserver(uint64_t id)
{
    std::erase_if(m_observers, [id](const Entry& e) { return e.id == id; });
}

void FrameClock::endFrame() { m_inFrame = false; }

void FrameClock::tick(base::Clock::TimePoint instant)
{
    m_frameInstant = instant;
    m_inFrame = true;
    if (m_frameDue) {
        m_frameDue = false;
        uint64_t number = frameNumberAt(instant);
        auto observers = m_observers;
        for (auto& entry : observers) {
            bool stillRegistered
                = std::any_of(m_observers.begin(), m_observers.end(), [&](const Entry& e) { return e.id == entry.id; });
            if (stillRegistered)
                entry.observer(instant, number);
        }
    }
    if (!m_observers.empty())
        scheduleNextFrame(instant);
}

void FrameClock::scheduleNextFrame(base::Clock::TimePoint after)
{
    if (!m_pendingWake.expired())
        return;
    auto wake = std::make_shared<int>(0);
    m_pendingWake = wake;
    // The task marks the frame due; the tick observer of the same turn does the work, at the turn's instant.
    base::RunLoop::main().performAt(
        frameInstant(frameNumberAt(after) + 1), [this, wake] { m_frameDue = true; }, this);
}

} // namespace ui
