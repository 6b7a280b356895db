#include "ui/input/PinchGestureRecognizer.h"

#include "base/loop/MainThread.h"

#include <cmath>

namespace ui {

double PinchGestureRecognizer::fingerDistance() const
{
    gfx::Point points[2];
    size_t found = 0;
    for (const auto& touch : followedTouches()) {
        if (found < 2 && touch->phase() != TouchPhase::Ended && touch->phase() != TouchPhase::Cancelled)
            points[found++] = touch->locationInView(nullptr);
    }
    return found == 2 ? std::hypot(points[0].x - points[1].x, points[0].y - points[1].y) : 0;
}

void PinchGestureRecognizer::setScale(double scale)
{
    BASE_ASSERT_MAIN_THREAD();
    m_scale = m_baseScale = scale;
    m_startDistance = fingerDistance();
    m_velocity.clear();
}

void PinchGestureRecognizer::touchesBegan(const TouchSet& touches)
{
    if (numberOfTouches() > 2) {
        if (state() == State::Possible)
            setState(State::Failed);
        return;
    }
    if (numberOfTouches() == 2) {
        m_startDistance = fingerDistance();
        m_baseScale = m_scale;
        m_velocity.clear();
        m_velocity.add(touches.front()->timestamp(), m_scale);
    }
}

void PinchGestureRecognizer::touchesMoved(const TouchSet& touches)
{
    double distance = fingerDistance();
    if (distance <= 0 || m_startDistance <= 0)
        return;
    m_scale = m_baseScale * distance / m_startDistance;
    m_velocity.add(touches.front()->timestamp(), m_scale);
    if (state() != State::Possible)
        setState(State::Changed);
    else if (std::fabs(distance - m_startDistance) >= threshold)
        setState(State::Began);
}

void PinchGestureRecognizer::touchesEnded(const TouchSet&)
{
    setState(state() == State::Possible ? State::Failed : State::Ended);
}

void PinchGestureRecognizer::reset()
{
    m_scale = m_baseScale = 1;
    m_startDistance = 0;
    m_velocity.clear();
}

} // namespace ui
