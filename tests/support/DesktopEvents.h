// What a desktop user does, queued as SDL events for the window host to pick up on its next pump: clicks of
// the left button, typed text, keys and wheel steps, at screen points (a host opened at one window unit per
// point), and the set-up that runs the host on SDL's offscreen driver.
#pragma once

#include "gfx/geometry/Point.h"
#include "ui/view/View.h"

#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace test::desktop {

// SDL's offscreen driver, without GL: the host needs none, and the system's EGL would keep memory the leak
// checker cannot attribute.
inline void useOffscreenVideo()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_VIDEO_EGL_DRIVER", "/nonexistent/libEGL.so", 1);
}

// `clicks`: SDL's count of the presses within its double-click time, this one included (2: the second click
// of a double click).
inline void click(gfx::Point point, int clicks = 1)
{
    for (Uint32 type : { SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP }) {
        SDL_Event event {};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.clicks = static_cast<Uint8>(clicks);
        event.button.x = static_cast<int>(point.x);
        event.button.y = static_cast<int>(point.y);
        SDL_PushEvent(&event);
    }
}

inline void type(const char* text)
{
    SDL_Event event {};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, text, sizeof event.text.text - 1);
    SDL_PushEvent(&event);
}

inline void key(SDL_Keycode sym)
{
    SDL_Event event {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = sym;
    SDL_PushEvent(&event);
}

// The centre of a view, in screen points.
inline gfx::Point centreOf(const std::shared_ptr<ui::View>& view)
{
    return view->convertPointTo({ view->bounds().midX(), view->bounds().midY() }, nullptr);
}

} // namespace test::desktop
