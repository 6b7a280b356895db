// host::SDLInput: turns SDL's events into the application's plain input events. The left mouse button is one
// finger (down, moves while held, up; leaving the window while held cancels nothing, the finger follows the
// mouse), the wheel scrolls, the wheel with Ctrl held pinches, typed text is text input and the editing keys
// are key events. Window pixels become screen points by dividing by the window's zoom. Main thread.
//
//   host::SDLInput input(2.0);
//   while (SDL_PollEvent(&event)) input.handle(event, *ui::Application::shared().inputHandler());
#pragma once

#include "gfx/Point.h"
#include "ui/InputHandler.h"

#include <SDL.h>

namespace host {

class SDLInput {
public:
    // Points scrolled by one step of the wheel, and the pinch factor of one step with Ctrl.
    static constexpr double scrollStep = 40;
    static constexpr double pinchStep = 1.1;

    explicit SDLInput(double zoom)
        : m_zoom(zoom > 0 ? zoom : 1)
    {
    }

    void handle(const SDL_Event& event, ui::InputHandler& handler);
    bool isFingerDown() const { return m_fingerDown; }

private:
    gfx::Point toPoints(int x, int y) const { return { x / m_zoom, y / m_zoom }; }
    void wheel(const SDL_MouseWheelEvent& wheel, ui::InputHandler& handler);
    void key(const SDL_KeyboardEvent& key, ui::InputHandler& handler);

    double m_zoom;
    bool m_fingerDown { false };
};

} // namespace host
