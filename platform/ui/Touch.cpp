#include "ui/Touch.h"

namespace ui {

Touch::Touch(gfx::Point locationInWindow, base::Clock::TimePoint timestamp, int tapCount)
    : m_location(locationInWindow)
    , m_previousLocation(locationInWindow)
    , m_timestamp(timestamp)
    , m_tapCount(tapCount)
{
}

void Touch::bind(std::weak_ptr<View> view, std::weak_ptr<Window> window,
    std::vector<std::shared_ptr<GestureRecognizer>> recognizers)
{
    m_view = std::move(view);
    m_window = std::move(window);
    m_recognizers = std::move(recognizers);
}

void Touch::update(TouchPhase phase, gfx::Point locationInWindow, base::Clock::TimePoint timestamp)
{
    m_phase = phase;
    m_previousLocation = m_location;
    m_location = locationInWindow;
    m_timestamp = timestamp;
}

} // namespace ui
