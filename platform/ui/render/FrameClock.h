// ui::FrameClock: the one clock every animation is evaluated by. During a run-loop turn's animation tick and
// end-of-turn passes it answers the turn's instant, so everything drawn in one frame shares one timestamp;
// otherwise it answers the installed base::Clock's time (the manual clock in tests). It also ticks frame
// observers (display links, hosts that show frames) at 60 frames a second of that clock, virtual time
// included, for as long as they are registered. Main thread.
//
//   auto id = ui::FrameClock::main().addFrameObserver([](base::Clock::TimePoint t, uint64_t frame) { ... });
//   ui::FrameClock::main().removeFrameObserver(id);
#pragma once

#include "base/time/Clock.h"
#include "base/loop/RunLoop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

class FrameClock {
public:
    using FrameObserver = std::function<void(base::Clock::TimePoint instant, uint64_t frameNumber)>;
    static constexpr double framesPerSecond = 60;

    static FrameClock& main();

    base::Clock::TimePoint now() const;

    // Frames fall on whole multiples of 1/60 s of the clock; frameNumber counts them from the clock's zero.
    uint64_t addFrameObserver(FrameObserver observer);
    void removeFrameObserver(uint64_t id);

    // Called by the end-of-turn passes once the frame is complete.
    void endFrame();

private:
    FrameClock();
    void tick(base::Clock::TimePoint instant);
    void scheduleNextFrame(base::Clock::TimePoint after);

    struct Entry {
        uint64_t id;
        FrameObserver observer;
    };
    std::vector<Entry> m_observers;
    uint64_t m_nextId { 1 };
    base::Clock::TimePoint m_frameInstant {};
    bool m_inFrame { false };
    bool m_frameDue { false };
    // Alive while a wake-up for the next frame is pending on the run loop.
    std::weak_ptr<int> m_pendingWake;
};

} // namespace ui
