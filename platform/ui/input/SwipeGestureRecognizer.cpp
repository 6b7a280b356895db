#include "ui/input/SwipeGestureRecognizer.h"

#include "base/loop/MainThread.h"
#include <cmath>

namespace ui {

void SwipeGestureRecognizer::touchesBegan(const TouchSet& touches)
{
    BASE_ASSERT_MAIN_THREAD();
    if (numberOfTouches() > m_touchesRequired) {
        setState(State::Failed);
        return;
    }
    m_start = centroidOfActiveTouches();
    if (!m_started) {
        m_started = true;
        m_startTime = touches.front()->timestamp();
    }
}

void SwipeGestureRecognizer::touchesMoved(const TouchSet& touches)
{
    if (std::chrono::duration<double>(touches.front()->timestamp() - m_startTime) > maximumDuration) {
        setState(State::Failed);
        return;
    }
    if (numberOfTouches() != m_touchesRequired)
        return;
    gfx::Point moved = centroidOfActiveTouches() - m_start;
    double along = std::max(std::fabs(moved.x), std::fabs(moved.y));
    if (along < minimumDistance)
        return;
    unsigned direction
        = std::fabs(moved.x) >= std::fabs(moved.y) ? (moved.x > 0 ? Right : Left) : (moved.y > 0 ? Down : Up);
    double across = std::min(std::fabs(moved.x), std::fabs(moved.y));
    bool straight = across <= along / 2;
    setState((direction & m_direction) && straight ? State::Recognized : State::Failed);
}

void SwipeGestureRecognizer::touchesEnded(const TouchSet&)
{
    if (state() == State::Possible)
        setState(State::Failed);
}

void SwipeGestureRecognizer::reset()
{
    m_started = false;
    m_start = {};
}

} // namespace ui
