// ui::GestureRecognizer: the base of the recognisers attached to views (taps, pans, pinches, swipes). A view
// keeps its recognisers (shared) and each recogniser knows its view (weakly). A touch that goes down in a
// view or one of its descendants is offered to the recognisers of that view and its ancestors, and each one
// that takes it follows its touches through a state machine:
//
//   possible -> recognized (= ended)                      discrete gestures: taps, swipes
//   possible -> began -> changed ... -> ended / cancelled  continuous gestures: pans, pinches
//   possible -> failed                                     the touches did not make the gesture
//
// The actions run on every transition out of possible except to failed (a discrete recogniser's only for
// recognized). When its touches are over, a recogniser in an end state goes back to possible. Arbitration
// between recognisers that share touches is GestureArena's (see there). Recognisers read plain recorded
// touches (location, phase, time), so a test can feed them any sequence. Main thread.
//
//   auto tap = std::make_shared<ui::TapGestureRecognizer>([weak](ui::GestureRecognizer&) { ... });
//   tap->setNumberOfTapsRequired(2);
//   view->addGestureRecognizer(tap);
#pragma once

#include "ui/input/GestureRecognizerDelegate.h"
#include "ui/input/Touch.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class GestureArena;

class GestureRecognizer : public std::enable_shared_from_this<GestureRecognizer> {
public:
    enum class State { Possible = 0, Began = 1, Changed = 2, Ended = 3, Cancelled = 4, Failed = 5, Recognized = 3 };
    using Action = std::function<void(GestureRecognizer&)>;

    explicit GestureRecognizer(Action action = {});
    virtual ~GestureRecognizer();
    GestureRecognizer(const GestureRecognizer&) = delete;
    GestureRecognizer& operator=(const GestureRecognizer&) = delete;

    void addAction(Action action);

    State state() const { return m_state; }
    bool isEnabled() const { return m_enabled; }
    // Switching a recogniser off cancels a gesture in progress (a possible one fails) and lets go of its
    // touches: switched on again, it waits for new touches.
    void setEnabled(bool enabled);

    std::weak_ptr<GestureRecognizerDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) { m_delegate = std::move(delegate); }

    // The view, while it lives.
    std::shared_ptr<View> view() const { return m_view.lock(); }

    // Whether recognising cancels the recogniser's touches in the views they were bound to (default yes).
    bool cancelsTouchesInView() const { return m_cancelsTouchesInView; }
    void setCancelsTouchesInView(bool cancels) { m_cancelsTouchesInView = cancels; }

    // This recogniser recognises only once `other` has failed, and fails when `other` recognises. `other` is
    // not kept alive; one that has gone, or is switched off, counts as failed.
    void requireGestureRecognizerToFail(const std::shared_ptr<GestureRecognizer>& other);

    // The centre of the touches followed (or, after they are over, where they were last), in `view`'s
    // coordinates (nullptr: the window's).
    gfx::Point locationInView(const View* view) const;
    // The number of followed touches that are still down.
    size_t numberOfTouches() const;

    virtual bool isDiscrete() const = 0;
    // Whether a possible recogniser whose touches are all over still waits for more (a second tap); one
    // that does not fails then.
    virtual bool expectsMoreTouches() const { return false; }

    // For GestureArena.
    [[nodiscard]] bool acceptsTouch(const Touch& touch);
    void startFollowing(const std::shared_ptr<Touch>& touch, const std::shared_ptr<GestureArena>& arena);
    bool isFollowing(const Touch& touch) const;
    // Whether the two have followed a touch in common since they were last reset.
    bool hasFollowed(const GestureRecognizer& other) const;
    void deliver(TouchPhase phase, const TouchSet& touches);
    const TouchSet& followedTouches() const { return m_touches; }
    bool isWaitingToRecognize() const { return m_waiting; }
    bool waitsForFailureOf(const GestureRecognizer& other) const;
    const std::vector<std::weak_ptr<GestureRecognizer>>& requirements() const { return m_requirements; }
    bool canRecognizeSimultaneouslyWith(GestureRecognizer& other);
    // Ends the wait of a recogniser that asked to recognise while others it requires were undecided.
    void finishWaiting(bool recognize);
    // Possible to failed (nothing else).
    void fail();
    // Back to possible, touches and arena forgotten.
    void resetToPossible();

protected:
    // Told when the recogniser is added to a view or removed from it (then with nullptr).
    virtual void didMoveToView(const std::shared_ptr<View>&) { }

    // Subclasses see only the touches they follow.
    virtual void touchesBegan(const TouchSet&) { }
    virtual void touchesMoved(const TouchSet&) { }
    virtual void touchesEnded(const TouchSet&) { }
    // Default: a gesture in progress is cancelled, a possible one fails.
    virtual void touchesCancelled(const TouchSet&);
    // Subclasses clear what they measured (and cancel their timers) here.
    virtual void reset() { }

    // Subclasses report progress here. Began (continuous) or Recognized (discrete) from possible asks the
    // arena first: the recogniser may have to wait for others to fail, or fail itself.
    void setState(State state);

    // The centre of the followed touches that are still down, in window coordinates.
    gfx::Point centroidOfActiveTouches() const;

private:
    friend class View;
    // Attaching to a view, or detaching (nullptr), quietly drops a gesture in progress.
    void setView(const std::shared_ptr<View>& view);
    void enter(State state);
    void runActions();

    State m_state { State::Possible };
    bool m_enabled { true };
    bool m_cancelsTouchesInView { true };
    bool m_waiting { false };
    State m_waitingFor { State::Possible };
    std::vector<Action> m_actions;
    std::weak_ptr<GestureRecognizerDelegate> m_delegate;
    std::weak_ptr<View> m_view;
    std::vector<std::weak_ptr<GestureRecognizer>> m_requirements;
    TouchSet m_touches;
    std::weak_ptr<GestureArena> m_arena;
    gfx::Point m_location;
};

} // namespace ui
