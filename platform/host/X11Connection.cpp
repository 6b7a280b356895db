#include "host/X11Connection.h"

#include "base/loop/MainThread.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace host {

std::optional<X11Connection> X11Connection::of(SDL_Window* window)
{
    BASE_ASSERT_MAIN_THREAD();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
        return std::nullopt;
    Display* display = info.info.x11.display;
    return X11Connection(display, XConnectionNumber(display));
}

bool X11Connection::hasPendingEvents() const
{
    BASE_ASSERT_MAIN_THREAD();
    return XPending(m_display) > 0;
}

} // namespace host
