// ui::PendingTransition: the end of a container's running transition (a push, a pop, a presentation): the
// did-appear and did-disappear calls that wait for the animation's completion. Starting another transition,
// or the animation completing, runs it exactly once, so every will-callback gets its did-callback even when
// transitions overlap. Internal to the UI library. Main thread.
//
//   uint64_t id = m_transition.start([=] { incoming->endAppearanceTransition(); outgoing->endAppearanceTransition();
//   }); View::animateWithDuration(0.35, slide, [self, id](bool) { self->m_transition.finish(id); });
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace ui {

class PendingTransition {
public:
    // Ends the running transition first; returns the id the animation's completion passes to finish().
    uint64_t start(std::function<void()> end)
    {
        finishNow();
        m_end = std::move(end);
        return ++m_current;
    }

    // Ends the transition `id` if it is still the running one.
    void finish(uint64_t id)
    {
        if (id == m_current)
            finishNow();
    }

    void finishNow()
    {
        if (auto end = std::exchange(m_end, nullptr))
            end();
    }

    bool isRunning() const { return static_cast<bool>(m_end); }

private:
    std::function<void()> m_end;
    uint64_t m_current { 0 };
};

} // namespace ui
