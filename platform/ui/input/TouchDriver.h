// ui::TouchDriver: plays touch sequences into the application's input handler for tests, on the manual
// clock. Each step sends one event stamped with the clock's time and then runs a run-loop turn (posted tasks,
// layout and display), as the application does after each event; time moves only in wait() and in the
// steps that say how long they take. Locations are in screen points. Needs a base::ManualClock installed.
// Main thread.
//
//   ui::TouchDriver finger;
//   finger.tap({ 160, 300 });
//   finger.down({ 10, 300 }).moveTo({ 200, 300 }, 0.2s, 10).up();
#pragma once

#include "base/time/Clock.h"
#include "gfx/geometry/Point.h"
#include "ui/input/Touch.h"

#include <map>

namespace ui {

class TouchDriver {
public:
    // Finger numbers tell fingers apart in multi-finger sequences.
    TouchDriver& down(gfx::Point location, int finger = 0);
    // Moves in `steps` even steps spread over `duration` (each step after its share of the time).
    TouchDriver& moveTo(
        gfx::Point location, base::Duration duration = base::Duration(0.05), int steps = 1, int finger = 0);
    TouchDriver& up(int finger = 0);
    TouchDriver& cancel(int finger = 0);
    TouchDriver& wait(base::Duration duration);

    // Down, 0.05 s, up where it went down.
    TouchDriver& tap(gfx::Point location, int finger = 0);
    // Down at `from`, moves to `to` over `duration` in `steps` steps, up.
    TouchDriver& drag(gfx::Point from, gfx::Point to, base::Duration duration = base::Duration(0.2), int steps = 10);

private:
    void send(int finger, TouchPhase phase, gfx::Point location);

    std::map<int, gfx::Point> m_locations;
};

} // namespace ui
