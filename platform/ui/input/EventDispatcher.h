// ui::EventDispatcher: the input handler that delivers touches to gesture recognisers and views, and typed
// text and editing keys to the text field being edited.
//
// A finger that goes down is bound, once, to the front-most visible window that contains the point, to the
// view that window's hit test finds there, and to the enabled recognisers of that view and its ancestors
// (the hit view's first). Later changes (user interaction switched off, views moved) never re-route it. Each
// phase goes first to the recognisers following the touch (see GestureArena), then to the view's touches...
// method, unless a recogniser that recognised has cancelled the touch in its view (the view then got
// touchesCancelled once and nothing more). A later press of a double (or triple) click is ignored until it
// lifts when it lands on another screen (the nearest view controller of the view it finds, else the window)
// than the first press did: what the first click opened or closed never takes the click meant for the
// screen it replaced. Controls win single taps: a one-tap recogniser on an ancestor of
// an enabled control does not take a touch that goes down in that control. A finger that finds no view is
// ignored until it lifts. A host's pinch steps become two synthetic fingers either side of the pinch point
// that spread by each step's factor and lift once no step has come for pinchEndDelay.
//
// A wheel's turn goes to the view under the mouse in the front-most window there, and up its superviews
// until one scrolls (View::scrollWheel). The scrolling keys go the same way, as the wheel's turn of a step
// (Up, Down), of the view's height less a step (PageUp, PageDown) or of more than any content (Home, End),
// except that Up, Down, Home and End move the caret of a field being edited. Escape and Return are offered to
// the visible windows, front first, as their dismissing and confirming actions (Responder::performEscape,
// performReturn); a Return that no window takes goes to the field being edited, as the other editing keys
// do. Main thread.
//
//   ui::Application::shared().setInputHandler(std::make_shared<ui::EventDispatcher>());
//   handler->touch({ 0, ui::TouchPhase::Began, { 100, 200 }, base::Clock::current()->now() });
#pragma once

#include "base/loop/RunLoop.h"
#include "ui/input/InputHandler.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace ui {

class GestureArena;
class GestureRecognizer;
class Responder;
class View;

class EventDispatcher : public InputHandler {
public:
    // A touch that goes down within this time of the previous lift, and near it, counts one tap more.
    static constexpr double multipleTapInterval = 0.35;
    static constexpr double multipleTapDistance = 40;
    // Half the distance between the synthetic fingers of a pinch when it starts.
    static constexpr double pinchHalfSpan = 50;
    static constexpr base::Duration pinchEndDelay { 0.3 };
    // What Home and End scroll by: the view stops at its end.
    static constexpr double beyondAnyContent = 1e7;

    EventDispatcher();
    ~EventDispatcher() override;

    void touch(const TouchEvent& event) override;
    // To the first responder (see Keyboard).
    void textInput(const std::string& text) override;
    void key(const KeyEvent& event) override;
    void scroll(const ScrollEvent& event) override;
    void pinch(const PinchEvent& event) override;

    // The recognisers a touch that goes down in `hitView` is offered to, in order.
    static std::vector<std::shared_ptr<GestureRecognizer>> recognizersFor(const View& hitView);

private:
    struct ActiveTouch {
        std::shared_ptr<Touch> touch;
        bool viewHasBegun { false };
        bool cancelledInView { false };
    };

    std::shared_ptr<Touch> bind(const TouchEvent& event);
    void deliverToView(ActiveTouch& active, TouchPhase phase);
    void cancelInView(const std::shared_ptr<Touch>& touch);
    int tapCountAt(gfx::Point location, base::Clock::TimePoint time) const;
    // Offers a scroll by `delta` (worked out for each view it is offered to) to the view at a screen point in
    // the front-most window there, and up its superviews until one scrolls.
    static void scrollAt(gfx::Point screenLocation, const std::function<gfx::Point(const View&)>& delta);
    static bool scrollsByKey(KeyEvent::Key key);
    // How far a scrolling key moves `view` (positive: towards the content's end).
    static double keyScrollDistance(KeyEvent::Key key, const View& view);
    // Whether a press that found `view` should be ignored: a later press of a multiple click that lands on
    // another screen than its first press did. Notes the screen of a first press.
    bool ignoresPress(const TouchEvent& event, const View& view);
    Event eventNow(base::Clock::TimePoint time) const;

    void moveSyntheticFingers(TouchPhase phase, base::Clock::TimePoint time);
    void endPinch();

    std::map<int, ActiveTouch> m_touches;
    struct SyntheticPinch {
        gfx::Point centre;
        double scale;
        base::RunLoop::TaskHandle end;
    };
    std::optional<SyntheticPinch> m_pinch;
    std::shared_ptr<GestureArena> m_arena;
    gfx::Point m_lastLiftLocation;
    base::Clock::TimePoint m_lastLiftTime;
    int m_lastTapCount { 0 };
    // The screen the first press of the latest click (single or multiple) landed on.
    std::weak_ptr<Responder> m_clickScreen;
};

} // namespace ui
