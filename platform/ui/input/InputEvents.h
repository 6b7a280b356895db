// The input a host hands the application, as plain recorded values (never a window system's own events), so
// that tests can replay any sequence: one finger's touches, scroll-wheel steps, pinches, typed text and
// editing keys. Locations are in screen points; timestamps are the run loop's clock.
#pragma once

#include "base/time/Clock.h"
#include "gfx/geometry/Point.h"
#include "ui/input/Touch.h"

#include <optional>
#include <string>

namespace ui {

struct TouchEvent {
    // Tells fingers apart; a mouse is finger 0.
    int finger { 0 };
    TouchPhase phase { TouchPhase::Began };
    gfx::Point location;
    base::Clock::TimePoint timestamp;
    // For a finger going down: the presses in quick succession at about this place that the desktop counts,
    // this one included (2 for the second press of a double click); 1 where the host cannot tell.
    int clicks { 1 };
};

struct ScrollEvent {
    // Points scrolled by one step (notch) of a mouse wheel: a picker turns one row per step's worth.
    static constexpr double wheelStep = 40;

    gfx::Point location;
    // Points to scroll the content by (positive: towards the content's end).
    double deltaX { 0 };
    double deltaY { 0 };
    base::Clock::TimePoint timestamp;
};

struct PinchEvent {
    gfx::Point location;
    // The factor the pinch grew by since its previous event (above 1: fingers apart).
    double scale { 1 };
    base::Clock::TimePoint timestamp;
};

struct KeyEvent {
    // BackTab is Shift+Tab; the last four are the desktop's editing shortcuts (select all, copy, cut, paste).
    // Up, Down, PageUp, PageDown, Home and End also scroll (see EventDispatcher).
    enum class Key {
        Backspace,
        Delete,
        Return,
        Tab,
        BackTab,
        Escape,
        Left,
        Right,
        Up,
        Down,
        Home,
        End,
        PageUp,
        PageDown,
        SelectAll,
        Copy,
        Cut,
        Paste
    };
    Key key { Key::Return };
    base::Clock::TimePoint timestamp;
    // Where the mouse pointer is, in screen points, when the host knows it.
    std::optional<gfx::Point> pointer;
};

} // namespace ui
