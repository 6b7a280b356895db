#include "host/SDLHost.h"

#include "base/Log.h"
#include "base/RunLoop.h"
#include "ui/Application.h"
#include "ui/Layer.h"
#include "ui/Pasteboard.h"
#include "ui/Screen.h"
#include "ui/ScreenRenderer.h"
#include "ui/UpdateCycle.h"

#include <cmath>
#include <dlfcn.h>
#include <link.h>
#include <string_view>

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
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        base::log(std::string("host: no video: ") + SDL_GetError());
        return nullptr;
    }
    double zoom = options.zoom > 0 ? options.zoom : 1;
    gfx::Rect screen = ui::Screen::main().bounds();
    int width = static_cast<int>(std::lround(screen.width() * zoom));
    int height = static_cast<int>(std::lround(screen.height() * zoom));
    SDL_Window* window = SDL_CreateWindow(
        options.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height, SDL_WINDOW_RESIZABLE);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    keepGraphicsDriverLoaded();
    if (!renderer) {
        base::log(std::string("host: no window: ") + SDL_GetError());
        if (window)
            SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    return std::unique_ptr<SDLHost>(new SDLHost(window, renderer, { options.title, zoom, options.becameActive }));
}

SDLHost::SDLHost(SDL_Window* window, SDL_Renderer* renderer, const Options& options)
    : m_window(window)
    , m_renderer(renderer)
    , m_input(Letterbox::fit(ui::Screen::main().bounds().size, windowSize(window)))
    , m_box(Letterbox::fit(ui::Screen::main().bounds().size, windowSize(window)))
    , m_becameActive(options.becameActive)
{
    ui::Pasteboard::general().setBackend(clipboard());
    SDL_StartTextInput();
    m_poll = base::Timer::scheduled(base::Duration(1.0 / 60), true, [this](base::Timer&) { pumpEvents(); });
    m_frameListener = ui::UpdateCycle::main().addFrameListener([this] { presentIfChanged(); });
}

SDLHost::~SDLHost()
{
    m_poll->invalidate();
    ui::UpdateCycle::main().removeFrameListener(m_frameListener);
    SDL_StopTextInput();
    ui::Pasteboard::general().setBackend({});
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    SDL_DestroyRenderer(m_renderer);
    SDL_DestroyWindow(m_window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SDLHost::run()
{
    present();
    while (!m_closed)
        base::RunLoop::main().run();
}

void SDLHost::pumpEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
            m_closed = true;
            base::RunLoop::main().stop();
            continue;
        }
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED)
            m_presentedChange = 0;
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            windowResized();
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED && m_becameActive)
            m_becameActive();
        if (auto handler = ui::Application::shared().inputHandler())
            m_input.handle(event, *handler);
    }
}

void SDLHost::presentIfChanged()
{
    if (m_closed)
        return;
    if (ui::Layer::changeCount() == m_presentedChange && !ui::Layer::anyAnimationRunning()
        && ui::ScreenRenderer::statusBarMinute() == m_presentedMinute)
        return;
    present();
}

void SDLHost::windowResized()
{
    m_box = Letterbox::fit(ui::Screen::main().bounds().size, windowSize(m_window));
    m_input.setLetterbox(m_box);
    m_presentedChange = 0;
}

bool SDLHost::ensureTexture(int width, int height)
{
    if (m_texture && width == m_textureWidth && height == m_textureHeight)
        return true;
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    // Cairo's 32-bit pixels are native-endian ARGB words, which is SDL's ARGB8888.
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    m_textureWidth = width;
    m_textureHeight = height;
    return m_texture != nullptr;
}

void SDLHost::present()
{
    ui::UpdateCycle::main().runPasses();
    m_presentedChange = ui::Layer::changeCount();
    m_presentedMinute = ui::ScreenRenderer::statusBarMinute();
    auto frame = ui::ScreenRenderer::renderImage();
    if (!frame || !ensureTexture(frame->pixelWidth(), frame->pixelHeight()))
        return;
    SDL_UpdateTexture(m_texture, nullptr, frame->data(), static_cast<int>(frame->rowBytes()));
    // The renderer may draw at more pixels than the window has units (a high-density display).
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(m_renderer, &outputWidth, &outputHeight);
    gfx::Size window = windowSize(m_window);
    double density = window.width > 0 ? outputWidth / window.width : 1;
    const gfx::Rect& picture = m_box.picture();
    SDL_Rect target { int(std::lround(picture.minX() * density)), int(std::lround(picture.minY() * density)),
        int(std::lround(picture.width() * density)), int(std::lround(picture.height() * density)) };
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, &target);
    SDL_RenderPresent(m_renderer);
    ++m_framesPresented;
}

} // namespace host
