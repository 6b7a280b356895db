// host::SDLInput: turns SDL's events into the application's plain input events. The left mouse button is one
// finger (down, moves while held, up; leaving the window while held cancels nothing, the finger follows the
// mouse; a press carries SDL's click count, which counts the presses within the double-click time), the
// wheel scrolls, the wheel with Ctrl held pinches, typed text is text input and the editing keys
// are key events, Shift+Tab and the Ctrl shortcuts for select all, copy, cut and paste among them (a held
// Escape or Return acts once, the other keys repeat), each with where the mouse is over the window. Window positions
// become screen points through the window's letterbox. Main thread.
//
//   host::SDLInput input(host::Letterbox::fit({ 320, 568 }, { 640, 1136 }));
//   while (SDL_PollEvent(&event)) input.handle(event, *ui::Application::shared().inputHandler());
#pragma once

#include "gfx/geometry/Point.h"
#include "host/Letterbox.h"
#include "ui/input/InputHandler.h"

#include <SDL.h>
#include <optional>

namespace host {

class SDLInput {
public:
    // The pinch factor of one step of the wheel with Ctrl (a step scrolls ui::ScrollEvent::wheelStep points).
    static constexpr double pinchStep = 1.1;

    explicit SDLInput(const Letterbox& box)
        : m_box(box)
    {
    }
    // After the window changed size.
    void setLetterbox(const Letterbox& box) { m_box = box; }

    void handle(const SDL_Event& event, ui::InputHandler& handler);
    bool isFingerDown() const { return m_fingerDown; }

private:
    gfx::Point toPoints(int x, int y) const { return m_box.toPoints({ double(x), double(y) }); }
    void wheel(const SDL_MouseWheelEvent& wheel, ui::InputHandler& handler);
    void key(const SDL_KeyboardEvent& key, ui::InputHandler& handler);

    Letterbox m_box;
    bool m_fingerDown { false };
    // Where the mouse was last seen over the window, in screen points; none once it left.
    std::optional<gfx::Point> m_pointer;
};

} // namespace host
