// ui::Control: a view that turns touches into actions. Actions are registered per control event
// (addAction(..., ControlEvent::TouchUpInside)) and run in registration order when the control sends the
// event. The control tracks one touch at a time: highlighted while the touch is down and within the bounds
// grown by trackingSlop on every side, touch-up-inside when it lifts there, touch-up-outside beyond, touch
// cancel when a recogniser or the system takes the touch away. A control keeps its touches (it does not pass
// them along the responder chain); a disabled control ignores them. The enabled, selected and highlighted
// setters are virtual so that subclasses redraw when they change. Main thread.
//
//   button->addAction([weak = weak_from_this()](ui::Control&) {
//       if (auto self = weak.lock()) self->send();
//   }, ui::ControlEvent::TouchUpInside, this);
//   button->removeActions(this);
#pragma once

#include "ui/controls/ControlTypes.h"
#include "ui/view/View.h"

#include <functional>

namespace ui {

class Control : public View {
public:
    using Action = std::function<void(Control& sender)>;
    static constexpr double trackingSlop = 70;

    explicit Control(const gfx::Rect& frame = {});

    // `owner` identifies the action for removeActions(); it is never dereferenced.
    void addAction(Action action, ControlEvents events, const void* owner = nullptr);
    // Removes `owner`'s actions from the given events (an action left with no events goes).
    void removeActions(const void* owner, ControlEvents events = ControlEvent::AllEvents);
    // The events that have at least one action.
    ControlEvents allControlEvents() const;
    // Runs the actions of each of the events, event by event in bit order.
    void sendActionsForControlEvents(ControlEvents events);

    bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);
    ControlStates state() const;

    bool isTracking() const { return m_tracking; }
    // Whether the tracked touch is (or last was) within the bounds grown by the slop.
    bool isTouchInside() const { return m_touchInside; }

    // Tracking hooks; a subclass calls the base versions to keep the default behaviour. beginTracking and
    // continueTracking answer whether to go on tracking.
    virtual bool beginTracking(const Touch& touch, const Event* event);
    virtual bool continueTracking(const Touch& touch, const Event* event);
    virtual void endTracking(const Touch* touch, const Event* event);
    virtual void cancelTracking(const Event* event);

    void touchesBegan(const TouchSet& touches, const Event* event) override;
    void touchesMoved(const TouchSet& touches, const Event* event) override;
    void touchesEnded(const TouchSet& touches, const Event* event) override;
    void touchesCancelled(const TouchSet& touches, const Event* event) override;

protected:
    bool isWithinSlop(gfx::Point point) const;

private:
    struct Registration {
        Action action;
        ControlEvents events;
        const void* owner;
    };

    std::vector<Registration> m_actions;
    bool m_enabled { true };
    bool m_selected { false };
    bool m_highlighted { false };
    bool m_tracking { false };
    bool m_touchInside { false };
    std::shared_ptr<Touch> m_trackedTouch;
};

} // namespace ui
