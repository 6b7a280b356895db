// ui::Touch and ui::Event: one finger on the screen as responders see it, and the event that carries the
// fingers of one moment. A touch keeps the window and view it was bound to when it went down, its location
// in the window, where it was before, its phase and the time of its last change. Main thread.
//
//   void touchesEnded(const ui::TouchSet& touches, const ui::Event*) override
//   {
//       gfx::Point p = touches.front()->locationInView(this);
//   }
#pragma once

#include "base/time/Clock.h"
#include "gfx/geometry/Point.h"

#include <memory>
#include <vector>

namespace ui {

class View;
class Window;

enum class TouchPhase { Began, Moved, Stationary, Ended, Cancelled };

class Touch {
public:
    Touch(std::shared_ptr<Window> window, std::shared_ptr<View> view, gfx::Point locationInWindow,
        base::Clock::TimePoint timestamp);

    TouchPhase phase() const { return m_phase; }
    base::Clock::TimePoint timestamp() const { return m_timestamp; }
    int tapCount() const { return m_tapCount; }
    std::shared_ptr<Window> window() const { return m_window.lock(); }
    std::shared_ptr<View> view() const { return m_view.lock(); }

    // In `view`'s bounds space; nullptr: the window's.
    gfx::Point locationInView(const View* view) const;
    gfx::Point previousLocationInView(const View* view) const;

    // The new state after the finger moved, lifted or was taken away.
    void update(TouchPhase phase, gfx::Point locationInWindow, base::Clock::TimePoint timestamp);
    void setTapCount(int count) { m_tapCount = count; }

private:
    gfx::Point convertFromWindow(gfx::Point p, const View* view) const;

    std::weak_ptr<Window> m_window;
    std::weak_ptr<View> m_view;
    gfx::Point m_location;
    gfx::Point m_previousLocation;
    TouchPhase m_phase { TouchPhase::Began };
    base::Clock::TimePoint m_timestamp;
    int m_tapCount { 1 };
};

using TouchSet = std::vector<std::shared_ptr<Touch>>;

class Event {
public:
    Event(base::Clock::TimePoint timestamp, TouchSet touches)
        : m_timestamp(timestamp)
        , m_touches(std::move(touches))
    {
    }
    base::Clock::TimePoint timestamp() const { return m_timestamp; }
    const TouchSet& allTouches() const { return m_touches; }

private:
    base::Clock::TimePoint m_timestamp;
    TouchSet m_touches;
};

} // namespace ui
