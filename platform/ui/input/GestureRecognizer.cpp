#include "ui/input/GestureRecognizer.h"

#include "base/loop/MainThread.h"
#include "ui/input/GestureArena.h"
#include "ui/view/View.h"

#include <algorithm>

namespace ui {

namespace {

    bool isDown(const Touch& touch)
    {
        return touch.phase() != TouchPhase::Ended && touch.phase() != TouchPhase::Cancelled;
    }

    gfx::Point centroid(const TouchSet& touches)
    {
        gfx::Point sum;
        for (const auto& touch : touches)
            sum = sum + touch->locationInView(nullptr);
        return touches.empty() ? sum : sum * (1.0 / touches.size());
    }

} // namespace

GestureRecognizer::GestureRecognizer(Action action) { addAction(std::move(action)); }

GestureRecognizer::~GestureRecognizer() = default;

void GestureRecognizer::addAction(Action action)
{
    if (action)
        m_actions.push_back(std::move(action));
}

void GestureRecognizer::setEnabled(bool enabled)
{
    BASE_ASSERT_MAIN_THREAD();
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        return;
    auto self = shared_from_this();
    if (m_state == State::Began || m_state == State::Changed)
        enter(State::Cancelled);
    else
        fail();
    resetToPossible();
}

void GestureRecognizer::setView(const std::shared_ptr<View>& view)
{
    if (m_state != State::Possible || !m_arena.expired()) {
        auto self = shared_from_this();
        fail();
        resetToPossible();
    }
    m_view = view;
    didMoveToView(view);
}

void GestureRecognizer::requireGestureRecognizerToFail(const std::shared_ptr<GestureRecognizer>& other)
{
    if (other && other.get() != this)
        m_requirements.push_back(other);
}

bool GestureRecognizer::waitsForFailureOf(const GestureRecognizer& other) const
{
    return std::any_of(
        m_requirements.begin(), m_requirements.end(), [&](const auto& weak) { return weak.lock().get() == &other; });
}

bool GestureRecognizer::canRecognizeSimultaneouslyWith(GestureRecognizer& other)
{
    auto delegate = m_delegate.lock();
    if (delegate && delegate->gestureRecognizerShouldRecognizeSimultaneously(*this, other))
        return true;
    auto otherDelegate = other.m_delegate.lock();
    return otherDelegate && otherDelegate->gestureRecognizerShouldRecognizeSimultaneously(other, *this);
}

gfx::Point GestureRecognizer::locationInView(const View* view) const
{
    return view ? view->convertPointFrom(m_location, nullptr) : m_location;
}

size_t GestureRecognizer::numberOfTouches() const
{
    return std::count_if(m_touches.begin(), m_touches.end(), [](const auto& touch) { return isDown(*touch); });
}

bool GestureRecognizer::acceptsTouch(const Touch& touch)
{
    if (!m_enabled || m_state != State::Possible || m_waiting)
        return false;
    auto delegate = m_delegate.lock();
    return !delegate || delegate->gestureRecognizerShouldReceiveTouch(*this, touch);
}

void GestureRecognizer::startFollowing(const std::shared_ptr<Touch>& touch, const std::shared_ptr<GestureArena>& arena)
{
    m_touches.push_back(touch);
    m_arena = arena;
    arena->join(shared_from_this());
}

bool GestureRecognizer::isFollowing(const Touch& touch) const
{
    return std::any_of(
        m_touches.begin(), m_touches.end(), [&](const auto& followed) { return followed.get() == &touch; });
}

bool GestureRecognizer::hasFollowed(const GestureRecognizer& other) const
{
    return std::any_of(
        m_touches.begin(), m_touches.end(), [&](const auto& touch) { return other.isFollowing(*touch); });
}

gfx::Point GestureRecognizer::centroidOfActiveTouches() const
{
    TouchSet down;
    std::copy_if(
        m_touches.begin(), m_touches.end(), std::back_inserter(down), [](const auto& t) { return isDown(*t); });
    return centroid(down);
}

void GestureRecognizer::deliver(TouchPhase phase, const TouchSet& touches)
{
    bool following = m_state == State::Possible || m_state == State::Began || m_state == State::Changed;
    if (!m_enabled || m_waiting || !following)
        return;
    TouchSet mine;
    std::copy_if(
        touches.begin(), touches.end(), std::back_inserter(mine), [&](const auto& t) { return isFollowing(*t); });
    if (mine.empty())
        return;
    auto self = shared_from_this();
    m_location = numberOfTouches() > 0 ? centroidOfActiveTouches() : centroid(mine);
    switch (phase) {
    case TouchPhase::Began:
        touchesBegan(mine);
        break;
    case TouchPhase::Moved:
    case TouchPhase::Stationary:
        touchesMoved(mine);
        break;
    case TouchPhase::Ended:
        touchesEnded(mine);
        break;
    case TouchPhase::Cancelled:
        touchesCancelled(mine);
        break;
    }
}

void GestureRecognizer::touchesCancelled(const TouchSet&)
{
    setState(m_state == State::Possible ? State::Failed : State::Cancelled);
}

void GestureRecognizer::setState(State state)
{
    BASE_ASSERT_MAIN_THREAD();
    auto self = shared_from_this();
    if (state == State::Failed) {
        fail();
        return;
    }
    if (m_waiting) {
        if (state == State::Ended)
            m_waitingFor = State::Ended;
        else if (state == State::Cancelled)
            fail();
        return;
    }
    bool recognizing
        = m_state == State::Possible && (isDiscrete() ? state == State::Recognized : state == State::Began);
    if (!recognizing) {
        if (m_state == State::Began || m_state == State::Changed)
            enter(state);
        return;
    }
    auto arena = m_arena.lock();
    auto verdict = arena ? arena->verdictFor(*this) : GestureArena::Verdict::Recognize;
    if (verdict == GestureArena::Verdict::Wait) {
        m_waiting = true;
        m_waitingFor = state;
        return;
    }
    if (verdict == GestureArena::Verdict::Fail) {
        fail();
        return;
    }
    m_state = state;
    if (arena)
        arena->recognized(*this);
    runActions();
}

void GestureRecognizer::finishWaiting(bool recognize)
{
    auto self = shared_from_this();
    State wanted = m_waitingFor;
    m_waiting = false;
    if (!recognize) {
        fail();
        return;
    }
    if (isDiscrete()) {
        setState(State::Recognized);
        return;
    }
    setState(State::Began);
    if (wanted == State::Ended && m_state == State::Began)
        setState(State::Ended);
}

void GestureRecognizer::fail()
{
    if (m_state != State::Possible)
        return;
    m_waiting = false;
    m_state = State::Failed;
    if (auto arena = m_arena.lock())
        arena->failed(*this);
}

void GestureRecognizer::enter(State state)
{
    m_state = state;
    runActions();
}

void GestureRecognizer::runActions()
{
    auto actions = m_actions;
    for (const auto& action : actions)
        action(*this);
}

void GestureRecognizer::resetToPossible()
{
    auto self = shared_from_this();
    if (auto arena = m_arena.lock())
        arena->leave(*this);
    m_arena.reset();
    m_touches.clear();
    m_waiting = false;
    m_state = State::Possible;
    reset();
}

} // namespace ui
