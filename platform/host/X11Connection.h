// host::X11Connection: the connection to the X server behind an SDL window, when SDL shows it through X11.
// The host waits on its descriptor instead of polling SDL: the descriptor turns readable when the server sends
// something. Xlib also reads events into its own queue while it waits for replies (presenting, the clipboard),
// and then the descriptor stays quiet although events wait; hasPendingEvents() finds those. Main thread.
//
//   if (auto connection = host::X11Connection::of(window))
//       loop.watchDescriptor(connection->descriptor(), POLLIN, pump);
#pragma once

#include <SDL.h>
#include <optional>

struct _XDisplay;

namespace host {

class X11Connection {
public:
    // None when the window is not shown through X11 (the offscreen and dummy drivers, Wayland).
    static std::optional<X11Connection> of(SDL_Window* window);

    int descriptor() const { return m_descriptor; }
    // Sends the requests Xlib holds back, reads what the server has sent without blocking, and says whether
    // events wait in Xlib's queue.
    bool hasPendingEvents() const;

private:
    X11Connection(_XDisplay* display, int descriptor)
        : m_display(display)
        , m_descriptor(descriptor)
    {
    }

    _XDisplay* m_display;
    int m_descriptor;
};

} // namespace host
