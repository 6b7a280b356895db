// ui::DisplayLink: calls a block in step with the frame clock: every `frameInterval`-th frame of its 60
// frames a second, virtual time included, while it is added to the run loop and not paused. The block (and
// what it captures) is kept until invalidate(). Main thread.
//
//   auto link = std::make_shared<ui::DisplayLink>([weak](ui::DisplayLink&) { if (auto s = weak.lock()) s->tick(); });
//   link->setFrameInterval(6);   // 10 calls a second
//   link->addToRunLoop();
//   link->invalidate();
#pragma once

#include "base/time/Clock.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace ui {

class DisplayLink : public std::enable_shared_from_this<DisplayLink> {
public:
    using Block = std::function<void(DisplayLink&)>;

    explicit DisplayLink(Block block);
    ~DisplayLink();

    void addToRunLoop();
    void invalidate();
    bool isPaused() const { return m_paused; }
    void setPaused(bool paused) { m_paused = paused; }
    int frameInterval() const { return m_frameInterval; }
    // Values below 1 count as 1.
    void setFrameInterval(int interval) { m_frameInterval = interval < 1 ? 1 : interval; }
    // The instant of the frame being called for.
    base::Clock::TimePoint timestamp() const { return m_timestamp; }

private:
    void frame(base::Clock::TimePoint instant, uint64_t number);

    Block m_block;
    uint64_t m_observer { 0 };
    bool m_paused { false };
    int m_frameInterval { 1 };
    base::Clock::TimePoint m_timestamp {};
};

} // namespace ui
