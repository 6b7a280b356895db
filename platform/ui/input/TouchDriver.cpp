#include "ui/input/TouchDriver.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "ui/view/Application.h"
#include "ui/input/InputHandler.h"

namespace ui {

void TouchDriver::send(int finger, TouchPhase phase, gfx::Point location)
{
    TouchEvent event { finger, phase, location, base::Clock::current()->now() };
    if (auto handler = Application::shared().inputHandler())
        handler->touch(event);
    base::RunLoop::main().advance(base::Duration(0));
}

TouchDriver& TouchDriver::down(gfx::Point location, int finger)
{
    BASE_ASSERT_MAIN_THREAD();
    m_locations[finger] = location;
    send(finger, TouchPhase::Began, location);
    return *this;
}

TouchDriver& TouchDriver::moveTo(gfx::Point location, base::Duration duration, int steps, int finger)
{
    BASE_ASSERT_MAIN_THREAD();
    steps = std::max(steps, 1);
    gfx::Point start = m_locations[finger];
    for (int step = 1; step <= steps; ++step) {
        wait(duration / steps);
        double progress = double(step) / steps;
        gfx::Point at = start + (location - start) * progress;
        m_locations[finger] = at;
        send(finger, TouchPhase::Moved, at);
    }
    return *this;
}

TouchDriver& TouchDriver::up(int finger)
{
    BASE_ASSERT_MAIN_THREAD();
    send(finger, TouchPhase::Ended, m_locations[finger]);
    m_locations.erase(finger);
    return *this;
}

TouchDriver& TouchDriver::cancel(int finger)
{
    BASE_ASSERT_MAIN_THREAD();
    send(finger, TouchPhase::Cancelled, m_locations[finger]);
    m_locations.erase(finger);
    return *this;
}

TouchDriver& TouchDriver::wait(base::Duration duration)
{
    BASE_ASSERT_MAIN_THREAD();
    base::RunLoop::main().advance(duration);
    return *this;
}

TouchDriver& TouchDriver::tap(gfx::Point location, int finger)
{
    BASE_ASSERT_MAIN_THREAD();
    down(location, finger);
    wait(base::Duration(0.05));
    return up(finger);
}

TouchDriver& TouchDriver::drag(gfx::Point from, gfx::Point to, base::Duration duration, int steps)
{
    BASE_ASSERT_MAIN_THREAD();
    down(from);
    moveTo(to, duration, steps);
    return up();
}

} // namespace ui
