#include "ui/input/Touch.h"

#include "base/loop/MainThread.h"
#include "ui/view/Window.h"

namespace ui {

Touch::Touch(std::shared_ptr<Window> window, std::shared_ptr<View> view, gfx::Point locationInWindow,
    base::Clock::TimePoint timestamp)
    : m_window(window)
    , m_view(view)
    , m_location(locationInWindow)
    , m_previousLocation(locationInWindow)
    , m_timestamp(timestamp)
{
    BASE_ASSERT_MAIN_THREAD();
}

void Touch::update(TouchPhase phase, gfx::Point locationInWindow, base::Clock::TimePoint timestamp)
{
    BASE_ASSERT_MAIN_THREAD();
    m_previousLocation = m_location;
    m_location = locationInWindow;
    m_phase = phase;
    m_timestamp = timestamp;
}

gfx::Point Touch::convertFromWindow(gfx::Point p, const View* view) const
{
    auto window = m_window.lock();
    if (!view || !window)
        return p;
    return view->convertPointFrom(p, window.get());
}

gfx::Point Touch::locationInView(const View* view) const { return convertFromWindow(m_location, view); }

gfx::Point Touch::previousLocationInView(const View* view) const { return convertFromWindow(m_previousLocation, view); }

} // namespace ui
