#include "ui/input/GestureArena.h"

#include "base/loop/MainThread.h"

#include <algorithm>

namespace ui {

namespace {

    bool isOver(const Touch& touch)
    {
        return touch.phase() == TouchPhase::Ended || touch.phase() == TouchPhase::Cancelled;
    }

    bool hasRecognized(GestureRecognizer::State state)
    {
        using State = GestureRecognizer::State;
        return state == State::Began || state == State::Changed || state == State::Ended;
    }

} // namespace

GestureArena::Scope::Scope(GestureArena& arena)
    : m_arena(arena.shared_from_this())
{
    ++m_arena->m_depth;
}

GestureArena::Scope::~Scope()
{
    if (--m_arena->m_depth == 0)
        m_arena->settle();
}

GestureArena::GestureArena(TouchCanceller cancelTouchInView)
    : m_cancelTouchInView(std::move(cancelTouchInView))
{
    BASE_ASSERT_MAIN_THREAD();
}

void GestureArena::touchBegan(
    const std::shared_ptr<Touch>& touch, const std::vector<std::shared_ptr<GestureRecognizer>>& bound)
{
    BASE_ASSERT_MAIN_THREAD();
    Scope scope(*this);
    std::vector<std::shared_ptr<GestureRecognizer>> takers;
    for (const auto& recognizer : bound) {
        if (recognizer->acceptsTouch(*touch)) {
            recognizer->startFollowing(touch, shared_from_this());
            takers.push_back(recognizer);
        }
    }
    for (const auto& recognizer : takers)
        recognizer->deliver(TouchPhase::Began, { touch });
}

void GestureArena::touchChanged(const std::shared_ptr<Touch>& touch)
{
    BASE_ASSERT_MAIN_THREAD();
    Scope scope(*this);
    auto members = m_members;
    for (const auto& recognizer : members) {
        if (recognizer->isFollowing(*touch))
            recognizer->deliver(touch->phase(), { touch });
    }
}

GestureArena::Verdict GestureArena::verdictFor(GestureRecognizer& recognizer) const
{
    bool wait = false;
    for (const auto& weak : recognizer.requirements()) {
        auto other = weak.lock();
        if (!other || !other->isEnabled())
            continue;
        if (hasRecognized(other->state()))
            return Verdict::Fail;
        if (other->state() == GestureRecognizer::State::Possible && isParticipating(*other))
            wait = true;
    }
    return wait ? Verdict::Wait : Verdict::Recognize;
}

void GestureArena::join(const std::shared_ptr<GestureRecognizer>& recognizer)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!isParticipating(*recognizer))
        m_members.push_back(recognizer);
}

void GestureArena::leave(const GestureRecognizer& recognizer)
{
    BASE_ASSERT_MAIN_THREAD();
    std::erase_if(m_members, [&](const auto& member) { return member.get() == &recognizer; });
}

bool GestureArena::isParticipating(const GestureRecognizer& recognizer) const
{
    return std::any_of(
        m_members.begin(), m_members.end(), [&](const auto& member) { return member.get() == &recognizer; });
}

void GestureArena::recognized(GestureRecognizer& winner)
{
    BASE_ASSERT_MAIN_THREAD();
    Scope scope(*this);
    auto members = m_members;
    for (const auto& other : members) {
        if (other.get() == &winner || other->state() != GestureRecognizer::State::Possible)
            continue;
        if (other->waitsForFailureOf(winner)
            || (other->hasFollowed(winner) && !winner.canRecognizeSimultaneouslyWith(*other)))
            other->fail();
    }
    if (winner.cancelsTouchesInView() && m_cancelTouchInView) {
        auto touches = winner.followedTouches();
        for (const auto& touch : touches) {
            if (!isOver(*touch))
                m_cancelTouchInView(touch);
        }
    }
}

void GestureArena::failed(GestureRecognizer&)
{
    BASE_ASSERT_MAIN_THREAD();
    Scope scope(*this);
    settleWaiters();
}

void GestureArena::settleWaiters()
{
    bool changed = true;
    while (changed) {
        changed = false;
        auto members = m_members;
        for (const auto& member : members) {
            if (!member->isWaitingToRecognize())
                continue;
            Verdict verdict = verdictFor(*member);
            if (verdict == Verdict::Wait)
                continue;
            member->finishWaiting(verdict == Verdict::Recognize);
            changed = true;
        }
    }
}

void GestureArena::settle()
{
    ++m_depth;
    while (settleFinished()) { }
    --m_depth;
}

bool GestureArena::settleFinished()
{
    auto members = m_members;
    for (const auto& member : members) {
        if (member->state() == GestureRecognizer::State::Possible && !member->isWaitingToRecognize()
            && member->numberOfTouches() == 0 && !member->expectsMoreTouches()) {
            member->fail();
            return true;
        }
    }
    bool resetAny = false;
    for (const auto& member : members) {
        auto state = member->state();
        bool finished = state == GestureRecognizer::State::Ended || state == GestureRecognizer::State::Cancelled
            || state == GestureRecognizer::State::Failed;
        if (finished && member->numberOfTouches() == 0) {
            member->resetToPossible();
            resetAny = true;
        }
    }
    return resetAny;
}

} // namespace ui
