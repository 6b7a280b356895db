#include "ui/input/PanGestureRecognizer.h"

#include "base/loop/MainThread.h"
#include "ui/view/View.h"

#include <cmath>

namespace ui {

namespace {

    gfx::Point toView(gfx::Point inWindow, const View* view)
    {
        return view ? view->convertPointFrom(inWindow, nullptr) : inWindow;
    }

    gfx::Point toWindow(gfx::Point inView, const View* view)
    {
        return view ? view->convertPointTo(inView, nullptr) : inView;
    }

} // namespace

gfx::Point PanGestureRecognizer::translationInView(const View* view) const
{
    return toView(m_current, view) - toView(m_origin, view);
}

void PanGestureRecognizer::setTranslation(gfx::Point translation, const View* view)
{
    BASE_ASSERT_MAIN_THREAD();
    m_origin = toWindow(toView(m_current, view) - translation, view);
}

gfx::Point PanGestureRecognizer::velocityInView(const View* view) const
{
    // Through the view's transform without its translation: the speed of a point at the current location.
    gfx::Point perSecond = m_velocity.perSecond();
    return toView(m_current + perSecond, view) - toView(m_current, view);
}

void PanGestureRecognizer::touchesBegan(const TouchSet& touches)
{
    if (numberOfTouches() > m_maximumTouches) {
        if (state() == State::Possible)
            setState(State::Failed);
        return;
    }
    fingersChanged(touches.front()->timestamp());
}

void PanGestureRecognizer::touchesMoved(const TouchSet& touches)
{
    m_current = centroidOfActiveTouches();
    m_velocity.add(touches.front()->timestamp(), m_current);
    if (state() == State::Possible) {
        gfx::Point moved = m_current - m_origin;
        if (numberOfTouches() >= m_minimumTouches && std::hypot(moved.x, moved.y) >= threshold)
            setState(State::Began);
    } else {
        setState(State::Changed);
    }
}

void PanGestureRecognizer::touchesEnded(const TouchSet& touches)
{
    base::Clock::TimePoint time = touches.front()->timestamp();
    if (numberOfTouches() >= m_minimumTouches && numberOfTouches() > 0) {
        fingersChanged(time);
        return;
    }
    m_velocity.add(time, m_current);
    setState(state() == State::Possible ? State::Failed : State::Ended);
}

void PanGestureRecognizer::fingersChanged(base::Clock::TimePoint time)
{
    gfx::Point centre = centroidOfActiveTouches();
    if (!m_started) {
        m_started = true;
        m_origin = centre;
    } else {
        m_origin = m_origin + (centre - m_current);
    }
    m_current = centre;
    m_velocity.clear();
    m_velocity.add(time, centre);
}

void PanGestureRecognizer::reset()
{
    m_started = false;
    m_origin = m_current = {};
    m_velocity.clear();
}

} // namespace ui
