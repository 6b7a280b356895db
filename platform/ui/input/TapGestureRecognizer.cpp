#include "ui/input/TapGestureRecognizer.h"

#include "base/loop/MainThread.h"
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    double distance(gfx::Point a, gfx::Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

} // namespace

TapGestureRecognizer::~TapGestureRecognizer() { cancelTimeout(); }

void TapGestureRecognizer::touchesBegan(const TouchSet& touches)
{
    BASE_ASSERT_MAIN_THREAD();
    cancelTimeout();
    for (const auto& touch : touches) {
        if (m_tapsDone > 0 && distance(touch->locationInView(nullptr), m_firstLocation) > maximumTapDistance) {
            setState(State::Failed);
            return;
        }
        if (m_tapsDone == 0 && m_startLocations.empty())
            m_firstLocation = touch->locationInView(nullptr);
        m_startLocations[touch.get()] = touch->locationInView(nullptr);
    }
    m_fingersInTap = std::max(m_fingersInTap, numberOfTouches());
    if (m_fingersInTap > static_cast<size_t>(m_touchesRequired))
        setState(State::Failed);
}

void TapGestureRecognizer::touchesMoved(const TouchSet& touches)
{
    for (const auto& touch : touches) {
        auto start = m_startLocations.find(touch.get());
        if (start != m_startLocations.end()
            && distance(touch->locationInView(nullptr), start->second) > allowableMovement) {
            setState(State::Failed);
            return;
        }
    }
}

void TapGestureRecognizer::touchesEnded(const TouchSet& touches)
{
    touchesMoved(touches);
    if (state() != State::Possible || numberOfTouches() > 0)
        return;
    if (m_fingersInTap != static_cast<size_t>(m_touchesRequired)) {
        setState(State::Failed);
        return;
    }
    ++m_tapsDone;
    m_fingersInTap = 0;
    m_startLocations.clear();
    if (m_tapsDone >= m_tapsRequired) {
        setState(State::Recognized);
        return;
    }
    m_timeout = base::RunLoop::main().performAfter(
        maximumTapInterval, [weak = std::weak_ptr<GestureRecognizer>(shared_from_this())] {
            if (auto self = std::static_pointer_cast<TapGestureRecognizer>(weak.lock())) {
                self->m_timeout.reset();
                if (self->state() == State::Possible)
                    self->setState(State::Failed);
            }
        });
}

void TapGestureRecognizer::reset()
{
    cancelTimeout();
    m_tapsDone = 0;
    m_fingersInTap = 0;
    m_startLocations.clear();
}

void TapGestureRecognizer::cancelTimeout()
{
    if (m_timeout) {
        base::RunLoop::main().cancel(m_timeout);
        m_timeout.reset();
    }
}

} // namespace ui
