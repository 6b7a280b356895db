#include "ui/input/EventDispatcher.h"

#include "base/loop/MainThread.h"
#include "ui/controls/Control.h"
#include "ui/input/GestureArena.h"
#include "ui/input/Keyboard.h"
#include "ui/input/TapGestureRecognizer.h"
#include "ui/view/Application.h"
#include "ui/view/Window.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    // The nearest enabled control at or above the hit view, if any.
    const Control* enclosingEnabledControl(const View& hitView)
    {
        for (const View* view = &hitView; view; view = view->superview().get()) {
            if (auto control = dynamic_cast<const Control*>(view))
                return control->isEnabled() ? control : nullptr;
        }
        return nullptr;
    }

    // Offers a key's action to the visible windows, front first; whether one acted.
    bool frontWindowActs(bool (Responder::*action)())
    {
        auto windows = Application::shared().windows();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
            if (!(*it)->isHidden() && ((**it).*action)())
                return true;
        }
        return false;
    }

    // The screen a view belongs to: the nearest view controller whose view holds it, else its window.
    std::shared_ptr<Responder> screenOf(const View& view)
    {
        std::shared_ptr<const View> outermost;
        for (auto at = sharedFrom(&view); at; at = at->superview()) {
            if (auto controller = at->viewController())
                return controller;
            outermost = at;
        }
        return std::const_pointer_cast<View>(outermost);
    }

    // Finger numbers of the synthetic pinch, apart from the host's (which count up from 0).
    constexpr int pinchFingers[2] = { -1, -2 };

    bool isSingleTap(const GestureRecognizer& recognizer)
    {
        auto tap = dynamic_cast<const TapGestureRecognizer*>(&recognizer);
        return tap && tap->numberOfTapsRequired() == 1;
    }

    gfx::Point inWindow(const Window& window, gfx::Point screenLocation)
    {
        // A window's layer sits in screen space.
        return window.layer()->convertPointFrom(screenLocation, nullptr);
    }

} // namespace

EventDispatcher::EventDispatcher()
    : m_arena(std::make_shared<GestureArena>([this](const std::shared_ptr<Touch>& touch) { cancelInView(touch); }))
{
}

EventDispatcher::~EventDispatcher()
{
    if (m_pinch)
        base::RunLoop::main().cancel(m_pinch->end);
}

std::vector<std::shared_ptr<GestureRecognizer>> EventDispatcher::recognizersFor(const View& hitView)
{
    const Control* control = enclosingEnabledControl(hitView);
    bool aboveControl = false;
    std::vector<std::shared_ptr<GestureRecognizer>> result;
    for (auto view = std::const_pointer_cast<View>(sharedFrom(&hitView)); view; view = view->superview()) {
        for (const auto& recognizer : view->gestureRecognizers()) {
            if (recognizer->isEnabled() && !(aboveControl && isSingleTap(*recognizer)))
                result.push_back(recognizer);
        }
        if (view.get() == control)
            aboveControl = true;
    }
    return result;
}

std::shared_ptr<Touch> EventDispatcher::bind(const TouchEvent& event)
{
    auto windows = Application::shared().windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        const auto& window = *it;
        if (window->isHidden() || !window->frame().contains(event.location))
            continue;
        gfx::Point location = inWindow(*window, event.location);
        auto view = window->hitTest(location, nullptr);
        if (!view)
            return nullptr;
        auto touch = std::make_shared<Touch>(window, view, location, event.timestamp);
        touch->setTapCount(tapCountAt(event.location, event.timestamp));
        return touch;
    }
    return nullptr;
}

int EventDispatcher::tapCountAt(gfx::Point location, base::Clock::TimePoint time) const
{
    if (m_lastTapCount == 0)
        return 1;
    double since = std::chrono::duration<double>(time - m_lastLiftTime).count();
    double distance = std::hypot(location.x - m_lastLiftLocation.x, location.y - m_lastLiftLocation.y);
    return since <= multipleTapInterval && distance <= multipleTapDistance ? m_lastTapCount + 1 : 1;
}

bool EventDispatcher::ignoresPress(const TouchEvent& event, const View& view)
{
    auto screen = screenOf(view);
    if (event.clicks <= 1) {
        m_clickScreen = screen;
        return false;
    }
    return screen != m_clickScreen.lock();
}

Event EventDispatcher::eventNow(base::Clock::TimePoint time) const
{
    TouchSet all;
    for (const auto& [finger, active] : m_touches)
        all.push_back(active.touch);
    return Event(time, std::move(all));
}

void EventDispatcher::touch(const TouchEvent& event)
{
    BASE_ASSERT_MAIN_THREAD();
    if (event.phase == TouchPhase::Began) {
        if (m_touches.count(event.finger))
            return;
        auto touch = bind(event);
        if (!touch || ignoresPress(event, *touch->view()))
            return;
        auto& active = m_touches[event.finger];
        active.touch = touch;
        m_arena->touchBegan(touch, recognizersFor(*touch->view()));
        deliverToView(m_touches[event.finger], TouchPhase::Began);
        return;
    }
    auto found = m_touches.find(event.finger);
    if (found == m_touches.end())
        return;
    auto touch = found->second.touch;
    gfx::Point location = event.location;
    if (auto window = touch->window())
        location = inWindow(*window, event.location);
    touch->update(event.phase, location, event.timestamp);
    m_arena->touchChanged(touch);
    found = m_touches.find(event.finger);
    if (found == m_touches.end())
        return;
    deliverToView(found->second, event.phase);
    if (event.phase == TouchPhase::Ended || event.phase == TouchPhase::Cancelled) {
        if (event.phase == TouchPhase::Ended) {
            m_lastLiftLocation = event.location;
            m_lastLiftTime = event.timestamp;
            m_lastTapCount = touch->tapCount();
        }
        m_touches.erase(event.finger);
    }
}

void EventDispatcher::deliverToView(ActiveTouch& active, TouchPhase phase)
{
    auto view = active.touch->view();
    if (!view || active.cancelledInView)
        return;
    TouchSet touches { active.touch };
    Event event = eventNow(active.touch->timestamp());
    switch (phase) {
    case TouchPhase::Began:
        active.viewHasBegun = true;
        view->touchesBegan(touches, &event);
        break;
    case TouchPhase::Moved:
    case TouchPhase::Stationary:
        view->touchesMoved(touches, &event);
        break;
    case TouchPhase::Ended:
        view->touchesEnded(touches, &event);
        break;
    case TouchPhase::Cancelled:
        view->touchesCancelled(touches, &event);
        break;
    }
}

void EventDispatcher::cancelInView(const std::shared_ptr<Touch>& touch)
{
    for (auto& [finger, active] : m_touches) {
        if (active.touch != touch || active.cancelledInView)
            continue;
        active.cancelledInView = true;
        auto view = touch->view();
        if (view && active.viewHasBegun) {
            Event event = eventNow(touch->timestamp());
            view->touchesCancelled({ touch }, &event);
        }
        return;
    }
}

void EventDispatcher::textInput(const std::string& text) { Keyboard::shared().insertText(text); }

void EventDispatcher::key(const KeyEvent& event)
{
    BASE_ASSERT_MAIN_THREAD();
    if (event.key == KeyEvent::Key::Escape) {
        frontWindowActs(&Responder::performEscape);
        return;
    }
    if (event.key == KeyEvent::Key::Return && frontWindowActs(&Responder::performReturn))
        return;
    // Up, Down, Home and End move the caret of a field being edited; elsewhere they scroll, as the page keys do.
    bool caretKey = event.key != KeyEvent::Key::PageUp && event.key != KeyEvent::Key::PageDown;
    if (event.pointer && scrollsByKey(event.key) && !(caretKey && Keyboard::shared().firstResponder())) {
        scrollAt(*event.pointer, [&](const View& view) {
            return gfx::Point { 0, keyScrollDistance(event.key, view) };
        });
        return;
    }
    Keyboard::shared().key(event.key);
}

bool EventDispatcher::scrollsByKey(KeyEvent::Key key)
{
    using Key = KeyEvent::Key;
    return key == Key::Up || key == Key::Down || key == Key::PageUp || key == Key::PageDown || key == Key::Home
        || key == Key::End;
}

double EventDispatcher::keyScrollDistance(KeyEvent::Key key, const View& view)
{
    constexpr double step = ScrollEvent::wheelStep;
    // A page keeps one step of what was shown in sight.
    double page = std::max(step, view.bounds().height() - step);
    switch (key) {
    case KeyEvent::Key::Up:
        return -step;
    case KeyEvent::Key::Down:
        return step;
    case KeyEvent::Key::PageUp:
        return -page;
    case KeyEvent::Key::PageDown:
        return page;
    case KeyEvent::Key::Home:
        return -beyondAnyContent;
    case KeyEvent::Key::End:
        return beyondAnyContent;
    default:
        return 0;
    }
}

void EventDispatcher::scroll(const ScrollEvent& event)
{
    BASE_ASSERT_MAIN_THREAD();
    scrollAt(event.location, [&](const View&) { return gfx::Point { event.deltaX, event.deltaY }; });
}

void EventDispatcher::scrollAt(gfx::Point screenLocation, const std::function<gfx::Point(const View&)>& delta)
{
    auto windows = Application::shared().windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        const auto& window = *it;
        if (window->isHidden() || !window->frame().contains(screenLocation))
            continue;
        gfx::Point location = inWindow(*window, screenLocation);
        for (auto view = window->hitTest(location, nullptr); view; view = view->superview()) {
            if (view->scrollWheel(view->convertPointFrom(location, window.get()), delta(*view)))
                return;
        }
        return;
    }
}

void EventDispatcher::pinch(const PinchEvent& event)
{
    if (m_pinch) {
        base::RunLoop::main().cancel(m_pinch->end);
        m_pinch->scale *= event.scale;
        moveSyntheticFingers(TouchPhase::Moved, event.timestamp);
    } else {
        m_pinch = SyntheticPinch { event.location, 1, nullptr };
        moveSyntheticFingers(TouchPhase::Began, event.timestamp);
        m_pinch->scale = event.scale;
        moveSyntheticFingers(TouchPhase::Moved, event.timestamp);
    }
    m_pinch->end = base::RunLoop::main().performAfter(
        pinchEndDelay, [this] { endPinch(); }, this);
}

void EventDispatcher::moveSyntheticFingers(TouchPhase phase, base::Clock::TimePoint time)
{
    double half = pinchHalfSpan * m_pinch->scale;
    touch({ pinchFingers[0], phase, m_pinch->centre - gfx::Point { half, 0 }, time });
    touch({ pinchFingers[1], phase, m_pinch->centre + gfx::Point { half, 0 }, time });
}

void EventDispatcher::endPinch()
{
    moveSyntheticFingers(TouchPhase::Ended, base::Clock::current()->now());
    m_pinch.reset();
}

} // namespace ui
