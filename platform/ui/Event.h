// ui::Event: what accompanies touches delivered to a responder: every touch on the screen at the moment of
// the event and the event's instant. Made by the touch dispatcher for each delivery. Main thread.
//
//   void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override
//   { if (event && event->allTouches().size() > 1) return; ... }
#pragma once

#include "ui/Touch.h"

namespace ui {

class Event {
public:
    Event(TouchSet allTouches, base::Clock::TimePoint timestamp)
        : m_touches(std::move(allTouches))
        , m_timestamp(timestamp)
    {
    }

    const TouchSet& allTouches() const { return m_touches; }
    base::Clock::TimePoint timestamp() const { return m_timestamp; }

private:
    TouchSet m_touches;
    base::Clock::TimePoint m_timestamp;
};

} // namespace ui
