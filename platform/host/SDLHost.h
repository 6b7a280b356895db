// host::SDLHost: shows the application's screen in a desktop window through SDL2: a window of the screen's
// size in points (times `zoom` pixels per point) showing the frames rendered at the screen's scale, with the
// mouse, wheel and keyboard turned into the application's input (see SDLInput.h). Through X11 the run loop
// waits on the X server's connection and SDL is pumped when the server sends something, or when events wait in
// a queue at the end of a turn; a timer wakes the loop only for a running animation's frames and polls SDL
// briefly after the connection's traffic (see PumpSchedule.h). Other video drivers are polled sixty times a
// second. After the end-of-turn passes of any turn that changed what is drawn (or while something animates,
// or when the status strip's clock turns a minute, which wakes the loop once a minute) the host brings its kept
// frame up to date (see ui::ScreenFrame) and copies only the part that changed to the window's surface; a frame
// in which nothing drawn changed presents nothing. The
// window may be resized, down to the screen's size in points (or the size it opened at, when smaller): the picture
// then keeps its proportions, letterboxed (see Letterbox.h), and the mouse maps through the same transform; a click
// that gives the window the focus is also a click. While open, the application's pasteboard is SDL's clipboard,
// and no on-screen keyboard covers the screen (see ui::Keyboard): the desktop's own keyboard types. Each time
// the window is restored after being minimised it calls the becameActive hook (the application coming back from
// the background; taking the focus is not that). Closing the desktop window, or an interruption (Ctrl+C,
// SIGTERM, a closed terminal's SIGHUP, SIGQUIT; see InterruptionWatch.h), stops the run loop and makes run()
// return; the window stays on the screen until the host goes, and whoever runs the loop after (the run's end,
// which waits for the commands on their way) still has its frames presented, though the application hears no
// more input from it. SDL's video driver is SDL's choice (tests use its offscreen
// driver, SDL_VIDEODRIVER=offscreen). The first frame presented is traced in the log category "host", which
// start-up timing waits for. Main thread; one host at a time.
//
//   auto host = host::SDLHost::open({});
//   if (host) host->run();   // returns when the window is closed
#pragma once

#include "base/time/Timer.h"
#include "host/InterruptionWatch.h"
#include "host/PumpSchedule.h"
#include "host/SDLInput.h"
#include "host/X11Connection.h"
#include "ui/render/ScreenFrame.h"

#include <SDL.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace host {

class SDLHost {
public:
    struct Options {
        std::string title { "Lumet Companion" };
        // Desktop pixels per screen point.
        double zoom { 1 };
        // Called on the main thread each time the window is restored after being minimised; may be empty.
        std::function<void()> becameActive;
    };

    // nullptr (with a log line saying why) when SDL's video or the window cannot be had.
    static std::unique_ptr<SDLHost> open(const Options& options);
    ~SDLHost();
    SDLHost(const SDLHost&) = delete;
    SDLHost& operator=(const SDLHost&) = delete;

    // Runs the main run loop until the window is closed (or an interruption comes).
    void run();
    bool isClosed() const { return m_closed; }

    // Hands SDL's queued events to the application (the connection's watch or the poll timer does this).
    void pumpEvents();
    // The period SDL is polled, or the loop woken for frames, at; none while the host waits on the window
    // system's connection alone.
    std::optional<base::Duration> pollPeriod() const;
    // Brings the frame up to date and shows what changed (all of it after the window was exposed or resized).
    void present();
    uint64_t framesPresented() const { return m_framesPresented; }
    SDL_Window* window() const { return m_window; }

private:
    SDLHost(SDL_Window* window, const Options& options);
    // The end of every turn: presents what changed, then decides how SDL is pumped until the next one.
    void endOfTurn();
    void presentIfChanged();
    // The window closes: the run loop stops.
    void close();
    // Minimised, restored, focus...: calls becameActive when a minimised window comes back.
    void windowStateChanged(Uint8 change);
    void connectionReady(short revents);
    // Polls (or wakes) at the period the schedule asks for, and stops once it asks for none.
    void updatePolling();
    void poll();
    // Pumps SDL on the next turn when events wait in SDL's queue or in the connection's, where nothing
    // would wake the loop for them.
    void pumpIfEventsWait();
    // Wakes the loop when the status strip's clock turns the next minute.
    void wakeAtNextMinute();
    // Copies `pixels` (a part of the frame, in its pixels) to the window's surface through the letterbox;
    // false when the window has no surface.
    bool copyToWindow(const gfx::Rect& pixels, bool whole);
    // Fits the picture to the window's present size.
    void windowResized();

    SDL_Window* m_window;
    ui::ScreenFrame m_frame;
    // The window needs the whole picture and its bars again (exposed, resized).
    bool m_wholeWindow { true };
    SDLInput m_input;
    Letterbox m_box;
    std::function<void()> m_becameActive;
    std::optional<X11Connection> m_connection;
    base::RunLoop::WatchId m_watch { 0 };
    PumpSchedule m_schedule;
    InterruptionWatch m_interruptions;
    // Set while SDL is polled or the loop woken for frames.
    std::shared_ptr<base::Timer> m_poll;
    bool m_pumpPosted { false };
    // The minute the pending wake is for (0: none pending).
    int64_t m_wakeMinute { 0 };
    uint64_t m_frameListener { 0 };
    uint64_t m_presentedChange { 0 };
    int64_t m_presentedMinute { 0 };
    uint64_t m_framesPresented { 0 };
    bool m_minimized { false };
    bool m_closed { false };
};

} // namespace host
