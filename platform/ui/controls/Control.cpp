#include "ui/controls/Control.h"

#include "base/loop/MainThread.h"

namespace ui {

Control::Control(const gfx::Rect& frame)
    : View(frame)
{
}

void Control::addAction(Action action, ControlEvents events, const void* owner)
{
    if (action && events)
        m_actions.push_back({ std::move(action), events, owner });
}

void Control::removeActions(const void* owner, ControlEvents events)
{
    for (auto& registration : m_actions) {
        if (registration.owner == owner)
            registration.events &= ~events;
    }
    std::erase_if(m_actions, [](const Registration& r) { return r.events == 0; });
}

ControlEvents Control::allControlEvents() const
{
    ControlEvents events = 0;
    for (const auto& registration : m_actions)
        events |= registration.events;
    return events;
}

void Control::sendActionsForControlEvents(ControlEvents events)
{
    BASE_ASSERT_MAIN_THREAD();
    auto self = sharedFrom(this);
    for (unsigned bit = 0; bit < 32; ++bit) {
        ControlEvents event = 1u << bit;
        if (!(events & event))
            continue;
        // A copy: actions may add or remove actions.
        auto actions = m_actions;
        for (const auto& registration : actions) {
            if (registration.events & event)
                registration.action(*this);
        }
    }
}

void Control::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled)
        setHighlighted(false);
}

void Control::setSelected(bool selected) { m_selected = selected; }

void Control::setHighlighted(bool highlighted) { m_highlighted = highlighted; }

ControlStates Control::state() const
{
    ControlStates state = ControlState::Normal;
    if (m_highlighted)
        state |= ControlState::Highlighted;
    if (!m_enabled)
        state |= ControlState::Disabled;
    if (m_selected)
        state |= ControlState::Selected;
    return state;
}

bool Control::isWithinSlop(gfx::Point point) const
{
    gfx::Rect area = bounds().insetBy(-trackingSlop, -trackingSlop);
    return area.contains(point);
}

bool Control::beginTracking(const Touch&, const Event*) { return true; }

bool Control::continueTracking(const Touch&, const Event*) { return true; }

void Control::endTracking(const Touch*, const Event*) { }

void Control::cancelTracking(const Event*) { }

void Control::touchesBegan(const TouchSet& touches, const Event* event)
{
    if (!m_enabled || m_trackedTouch)
        return;
    auto self = sharedFrom(this);
    m_trackedTouch = touches.front();
    m_touchInside = true;
    setHighlighted(true);
    m_tracking = beginTracking(*m_trackedTouch, event);
    ControlEvents events = ControlEvent::TouchDown;
    if (m_trackedTouch->tapCount() > 1)
        events |= ControlEvent::TouchDownRepeat;
    sendActionsForControlEvents(events);
}

void Control::touchesMoved(const TouchSet& touches, const Event* event)
{
    if (!m_trackedTouch || touches.front() != m_trackedTouch)
        return;
    auto self = sharedFrom(this);
    bool wasInside = m_touchInside;
    m_touchInside = isWithinSlop(m_trackedTouch->locationInView(this));
    setHighlighted(m_touchInside);
    if (m_tracking)
        m_tracking = continueTracking(*m_trackedTouch, event);
    ControlEvents events = m_touchInside ? ControlEvent::TouchDragInside : ControlEvent::TouchDragOutside;
    if (m_touchInside != wasInside)
        events |= m_touchInside ? ControlEvent::TouchDragEnter : ControlEvent::TouchDragExit;
    sendActionsForControlEvents(events);
}

void Control::touchesEnded(const TouchSet& touches, const Event* event)
{
    if (!m_trackedTouch || touches.front() != m_trackedTouch)
        return;
    auto self = sharedFrom(this);
    auto touch = std::move(m_trackedTouch);
    m_touchInside = isWithinSlop(touch->locationInView(this));
    m_tracking = false;
    setHighlighted(false);
    endTracking(touch.get(), event);
    sendActionsForControlEvents(m_touchInside ? ControlEvent::TouchUpInside : ControlEvent::TouchUpOutside);
}

void Control::touchesCancelled(const TouchSet& touches, const Event* event)
{
    if (!m_trackedTouch || touches.front() != m_trackedTouch)
        return;
    auto self = sharedFrom(this);
    m_trackedTouch.reset();
    m_tracking = false;
    setHighlighted(false);
    cancelTracking(event);
    sendActionsForControlEvents(ControlEvent::TouchCancel);
}

} // namespace ui
