#include "ui/render/DisplayLink.h"

#include "base/loop/MainThread.h"
#include "ui/render/FrameClock.h"

namespace ui {

DisplayLink::DisplayLink(Block block)
    : m_block(std::move(block))
{
}

DisplayLink::~DisplayLink()
{
    if (m_observer)
        FrameClock::main().removeFrameObserver(m_observer);
}

void DisplayLink::addToRunLoop()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_observer || !m_block)
        return;
    // The frame clock keeps the link (and so its block) alive until invalidate().
    m_observer = FrameClock::main().addFrameObserver(
        [self = shared_from_this()](base::Clock::TimePoint instant, uint64_t number) { self->frame(instant, number); });
}

void DisplayLink::invalidate()
{
    m_block = nullptr;
    uint64_t observer = m_observer;
    m_observer = 0;
    // Last: dropping the observer may release the last handle on this link.
    if (observer)
        FrameClock::main().removeFrameObserver(observer);
}

void DisplayLink::frame(base::Clock::TimePoint instant, uint64_t number)
{
    if (m_paused || !m_block || number % static_cast<uint64_t>(m_frameInterval) != 0)
        return;
    m_timestamp = instant;
    Block block = m_block;
    block(*this);
}

} // namespace ui
