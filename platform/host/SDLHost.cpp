#include "host/SDLHost.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "base/system/Log.h"
#include "base/time/Date.h"
#include "ui/input/Keyboard.h"
#include "ui/input/Pasteboard.h"
#include "ui/layer/Layer.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"
#include "ui/view/UpdateCycle.h"

#include <algorithm>
#include <cmath>
#include <dlfcn.h>
#include <link.h>
#include <poll.h>
#include <string_view>
#include <utility>

namespace host {

namespace {

    gfx::Size windowSize(SDL_Window* window)
    {
        int width = 0, height = 0;
        SDL_GetWindowSize(window, &width, &height);
        return { double(width), double(height) };
    }

    ui::Pasteboard::Backend clipboard()
    {
        return { []() -> std::optional<std::string> {
                    if (!SDL_HasClipboardText())
                        return std::nullopt;
                    char* text = SDL_GetClipboardText();
                    std::string result = text ? text : "";
                    SDL_free(text);
                    return result;
                },
            [](const std::string& text) { SDL_SetClipboardText(text.c_str()); } };
    }

    // SDL closes its GL library when it quits, and the system's GL driver (a "..._dri.so" module) is unloaded
    // with it while its own allocations live on; the leak checker then reports them at exit, from a module
    // it can no longer name. Holding the driver loaded for the process's life keeps them reachable from it.
    int holdDriver(dl_phdr_info* info, size_t, void*)
    {
        std::string_view name = info->dlpi_name ? info->dlpi_name : "";
        if (name.ends_with("_dri.so"))
            dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD);
        return 0;
    }

    void keepGraphicsDriverLoaded() { dl_iterate_phdr(holdDriver, nullptr); }

} // namespace

std::unique_ptr<SDLHost> SDLHost::open(const Options& options)
{
    BASE_ASSERT_MAIN_THREAD();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        base::log(std::string("host: no video: ") + SDL_GetError());
        return nullptr;
    }
    double zoom = options.zoom > 0 ? options.zoom : 1;
    gfx::Rect screen = ui::Screen::main().bounds();
    int width = static_cast<int>(std::lround(screen.width() * zoom));
    int height = static_cast<int>(std::lround(screen.height() * zoom));
    // The window's own surface, not one kept in a GL texture: only then does presenting a part of the frame
    // send only that part to the display.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A click that gives the window the focus is a click like any other, not only a focus change.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_Window* window = SDL_CreateWindow(
        options.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height, SDL_WINDOW_RESIZABLE);
    if (window) {
        // Resizing may shrink the picture down to one point per pixel, or to the size it opened at when
        // that is smaller, and no further.
        SDL_SetWindowMinimumSize(window, std::min(width, static_cast<int>(std::lround(screen.width()))),
            std::min(height, static_cast<int>(std::lround(screen.height()))));
    }
    bool drawable = window && SDL_GetWindowSurface(window);
    keepGraphicsDriverLoaded();
    if (!drawable) {
        base::log(std::string("host: no window: ") + SDL_GetError());
        if (window)
            SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    return std::unique_ptr<SDLHost>(new SDLHost(window, { options.title, zoom, options.becameActive }));
}

SDLHost::SDLHost(SDL_Window* window, const Options& options)
    : m_window(window)
    , m_input(Letterbox::fit(ui::Screen::main().bounds().size, windowSize(window)))
    , m_box(Letterbox::fit(ui::Screen::main().bounds().size, windowSize(window)))
    , m_becameActive(options.becameActive)
    , m_connection(X11Connection::of(window))
    , m_schedule(m_connection.has_value())
    , m_interruptions([this] { close(); })
{
    ui::Pasteboard::general().setBackend(clipboard());
    // The desktop's physical keyboard takes the typing: no on-screen keyboard covers the screen.
    ui::Keyboard::shared().setCoversScreen(false);
    SDL_StartTextInput();
    if (m_connection) {
        m_watch = base::RunLoop::main().watchDescriptor(
            m_connection->descriptor(), POLLIN, [this](short revents) { connectionReady(revents); });
    }
    updatePolling();
    m_frameListener = ui::UpdateCycle::main().addFrameListener([this] { endOfTurn(); });
}

SDLHost::~SDLHost()
{
    if (m_poll)
        m_poll->invalidate();
    if (m_watch)
        base::RunLoop::main().unwatchDescriptor(m_watch);
    base::RunLoop::main().cancelPerforms(this);
    ui::UpdateCycle::main().removeFrameListener(m_frameListener);
    SDL_StopTextInput();
    ui::Keyboard::shared().setCoversScreen(true);
    ui::Pasteboard::general().setBackend({});
    SDL_DestroyWindow(m_window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SDLHost::run()
{
    BASE_ASSERT_MAIN_THREAD();
    present();
    // Creating and showing the window may have left events in the queues, where nothing wakes the loop.
    pumpIfEventsWait();
    while (!m_closed)
        base::RunLoop::main().run();
}

void SDLHost::pumpEvents()
{
    BASE_ASSERT_MAIN_THREAD();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
            close();
            continue;
        }
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
            m_presentedChange = 0;
            m_wholeWindow = true;
        }
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            windowResized();
        // A closed window only shows how the run ends: the application hears nothing more from it.
        if (m_closed)
            continue;
        if (event.type == SDL_WINDOWEVENT)
            windowStateChanged(event.window.event);
        if (auto handler = ui::Application::shared().inputHandler())
            m_input.handle(event, *handler);
    }
}

void SDLHost::windowStateChanged(Uint8 change)
{
    // Taking the focus is not coming back from the background; restoring a minimised window is.
    if (change == SDL_WINDOWEVENT_MINIMIZED)
        m_minimized = true;
    if (change != SDL_WINDOWEVENT_RESTORED || !std::exchange(m_minimized, false))
        return;
    if (m_becameActive)
        m_becameActive();
}

void SDLHost::close()
{
    if (std::exchange(m_closed, true))
        return;
    base::RunLoop::main().stop();
}

void SDLHost::connectionReady(short revents)
{
    if (revents & (POLLERR | POLLHUP | POLLNVAL)) {
        base::log("host: the window system's connection failed; polling instead");
        base::RunLoop::main().unwatchDescriptor(std::exchange(m_watch, 0));
        m_schedule.connectionLost();
    }
    m_schedule.connectionActive(base::Clock::current()->now());
    pumpEvents();
}

void SDLHost::endOfTurn()
{
    uint64_t presented = m_framesPresented;
    presentIfChanged();
    m_schedule.frameEnded(ui::Layer::anyAnimationRunningInWindow(), m_framesPresented != presented);
    updatePolling();
    pumpIfEventsWait();
    wakeAtNextMinute();
}

void SDLHost::updatePolling()
{
    auto period = m_schedule.period(base::Clock::current()->now());
    if (m_poll && period && m_poll->timeInterval() == *period)
        return;
    if (m_poll)
        std::exchange(m_poll, nullptr)->invalidate();
    if (period)
        m_poll = base::Timer::scheduled(*period, true, [this](base::Timer&) { poll(); });
}

std::optional<base::Duration> SDLHost::pollPeriod() const
{
    if (!m_poll)
        return std::nullopt;
    return m_poll->timeInterval();
}

void SDLHost::poll()
{
    // A wake-up for an animation's frame only needs the turn; the connection's watch pumps SDL.
    if (m_schedule.pollsEvents(base::Clock::current()->now()))
        pumpEvents();
}

void SDLHost::pumpIfEventsWait()
{
    if (m_pumpPosted)
        return;
    bool waiting = SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) || (m_watch && m_connection->hasPendingEvents());
    if (!waiting)
        return;
    m_pumpPosted = true;
    base::RunLoop::main().performAfter(
        base::Duration::zero(),
        [this] {
            m_pumpPosted = false;
            pumpEvents();
        },
        this);
}

void SDLHost::wakeAtNextMinute()
{
    int64_t next = ui::ScreenRenderer::statusBarMinute() + 1;
    if (m_wakeMinute == next)
        return;
    m_wakeMinute = next;
    // A little past the minute, so that the wake-up finds the new minute; one that comes early anyway only
    // asks for the next wake-up.
    double seconds = double(next) * 60 - base::Date::now().timeIntervalSince1970() + 0.01;
    base::RunLoop::main().performAfter(
        base::Duration(seconds), [this] { m_wakeMinute = 0; }, this);
}

void SDLHost::presentIfChanged()
{
    if (ui::Layer::changeCount() == m_presentedChange && !ui::Layer::anyAnimationRunningInWindow()
        && ui::ScreenRenderer::statusBarMinute() == m_presentedMinute)
        return;
    present();
}

void SDLHost::windowResized()
{
    m_box = Letterbox::fit(ui::Screen::main().bounds().size, windowSize(m_window));
    m_input.setLetterbox(m_box);
    m_presentedChange = 0;
    m_wholeWindow = true;
}

void SDLHost::present()
{
    ui::UpdateCycle::main().runPasses();
    m_presentedChange = ui::Layer::changeCount();
    m_presentedMinute = ui::ScreenRenderer::statusBarMinute();
    gfx::Rect changed = m_frame.update();
    if (changed.isNull() && !m_wholeWindow)
        return;
    if (copyToWindow(changed, m_wholeWindow)) {
        m_wholeWindow = false;
        // Marks the end of the start-up for whoever times it.
        if (++m_framesPresented == 1)
            base::trace("host", "first frame presented");
    }
}

bool SDLHost::copyToWindow(const gfx::Rect& pixels, bool whole)
{
    SDL_Surface* target = SDL_GetWindowSurface(m_window);
    auto frame = m_frame.pixels();
    if (!target || !frame)
        return false;
    // Cairo's 32-bit pixels are native-endian ARGB words, which is SDL's ARGB8888; they are opaque, so they
    // are copied, not blended.
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        frame->data, frame->width, frame->height, 32, static_cast<int>(frame->rowBytes), SDL_PIXELFORMAT_ARGB8888);
    if (!source)
        return false;
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    // The surface may have more pixels than the window has units (a high-density display).
    gfx::Size window = windowSize(m_window);
    double density = window.width > 0 ? target->w / window.width : 1;
    const gfx::Rect& picture = m_box.picture();
    double perPixel = picture.width() * density / frame->width;
    gfx::Rect part = whole ? gfx::Rect(0, 0, frame->width, frame->height) : pixels;
    // Whole surface pixels over the part, and the frame pixels they show, so that a part is sampled as the
    // whole picture would be.
    gfx::Rect shown = gfx::Rect(picture.minX() * density + part.minX() * perPixel,
        picture.minY() * density + part.minY() * perPixel, part.width() * perPixel, part.height() * perPixel)
                          .integral();
    gfx::Rect from = gfx::Rect((shown.minX() - picture.minX() * density) / perPixel,
        (shown.minY() - picture.minY() * density) / perPixel, shown.width() / perPixel, shown.height() / perPixel)
                         .integral()
                         .intersection({ 0, 0, double(frame->width), double(frame->height) });
    SDL_Rect to { int(shown.minX()), int(shown.minY()), int(shown.width()), int(shown.height()) };
    SDL_Rect sourceRect { int(from.minX()), int(from.minY()), int(from.width()), int(from.height()) };
    if (whole)
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    SDL_BlitScaled(source, &sourceRect, target, &to);
    SDL_FreeSurface(source);
    if (whole)
        return SDL_UpdateWindowSurface(m_window) == 0;
    return SDL_UpdateWindowSurfaceRects(m_window, &to, 1) == 0;
}

} // namespace host
