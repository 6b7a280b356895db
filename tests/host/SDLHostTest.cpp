#include "host/SDLHost.h"
#include "ui/input/InputHandler.h"
#include "ui/input/Keyboard.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"
#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "base/ClockFixture.h"
#include "base/loop/RunLoop.h"
#include "support/DesktopEvents.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Writes down the input the application is handed.
class InputLog : public ui::InputHandler {
public:
    void touch(const ui::TouchEvent& e) override
    {
        const char* phases[] = { "began", "moved", "stationary", "ended", "cancelled" };
        entries.push_back(std::string(phases[static_cast<int>(e.phase)]) + " " + std::to_string(int(e.location.x)) + ","
            + std::to_string(int(e.location.y)));
    }
    void scroll(const ui::ScrollEvent& e) override { entries.push_back("scroll " + std::to_string(int(e.deltaY))); }
    void pinch(const ui::PinchEvent& e) override { entries.push_back("pinch " + std::to_string(e.scale > 1)); }
    void textInput(const std::string& text) override { entries.push_back("text " + text); }
    void key(const ui::KeyEvent& e) override
    {
        using Key = ui::KeyEvent::Key;
        switch (e.key) {
        case Key::Backspace:
            entries.push_back("backspace");
            break;
        case Key::BackTab:
            entries.push_back("backtab");
            break;
        case Key::Paste:
            entries.push_back("paste");
            break;
        case Key::SelectAll:
            entries.push_back("select-all");
            break;
        default:
            entries.push_back("key");
        }
    }
    std::vector<std::string> entries;
};

class SDLHost : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        test::desktop::useOffscreenVideo();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        ui::Screen::main().setScale(2);
        log = std::make_shared<InputLog>();
        ui::Application::shared().setInputHandler(log);
        host::SDLHost::Options options;
        options.title = "test";
        options.zoom = 2;
        host = host::SDLHost::open(options);
        ASSERT_TRUE(host);
    }
    void TearDown() override
    {
        host.reset();
        SDL_SetModState(KMOD_NONE);
        ui::Application::shared().setInputHandler(nullptr);
        ManualClockTest::TearDown();
    }

    void push(SDL_Event event) { SDL_PushEvent(&event); }
    void keyDown(SDL_Keycode sym, Uint16 mod)
    {
        SDL_Event e {};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        push(e);
    }
    void mouse(Uint32 type, int x, int y)
    {
        SDL_Event e {};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.x = x;
            e.motion.y = y;
        } else {
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = x;
            e.button.y = y;
        }
        push(e);
    }
    void wheel(float steps)
    {
        SDL_Event e {};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.preciseY = steps;
        e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
        push(e);
    }
    // One poll of the host, on virtual time.
    void frame() { clock->advance(base::Duration(1.0 / 60)); }

    std::shared_ptr<InputLog> log;
    std::unique_ptr<host::SDLHost> host;
};

} // namespace

TEST_F(SDLHost, TheLeftButtonIsOneFingerInScreenPoints)
{
    mouse(SDL_MOUSEMOTION, 10, 10);
    mouse(SDL_MOUSEBUTTONDOWN, 100, 200);
    mouse(SDL_MOUSEMOTION, 120, 220);
    mouse(SDL_MOUSEBUTTONUP, 140, 240);
    mouse(SDL_MOUSEMOTION, 150, 250);
    frame();
    EXPECT_EQ(log->entries, (std::vector<std::string> { "began 50,100", "moved 60,110", "ended 70,120" }));
}

TEST_F(SDLHost, TheWheelScrollsAndPinchesWithControlAndKeysType)
{
    wheel(1);
    frame();
    SDL_SetModState(KMOD_LCTRL);
    wheel(-1);
    frame();
    SDL_SetModState(KMOD_NONE);
    SDL_Event text {};
    text.type = SDL_TEXTINPUT;
    std::snprintf(text.text.text, sizeof text.text.text, "%s", "好");
    push(text);
    SDL_Event backspace {};
    backspace.type = SDL_KEYDOWN;
    backspace.key.keysym.sym = SDLK_BACKSPACE;
    push(backspace);
    frame();
    EXPECT_EQ(log->entries, (std::vector<std::string> { "scroll -40", "pinch 0", "text 好", "backspace" }));
}

TEST_F(SDLHost, ShiftTabAndTheControlShortcutsBecomeEditingKeys)
{
    keyDown(SDLK_TAB, KMOD_LSHIFT);
    keyDown(SDLK_v, KMOD_RCTRL);
    keyDown(SDLK_a, KMOD_LCTRL);
    keyDown(SDLK_BACKSPACE, KMOD_LCTRL);
    keyDown(SDLK_v, KMOD_NONE);
    frame();
    EXPECT_EQ(log->entries, (std::vector<std::string> { "backtab", "paste", "select-all", "backspace" }));
}

TEST_F(SDLHost, AResizedWindowLetterboxesAndClicksMapThroughTheSameTransform)
{
    // Twice as wide: the picture keeps its zoom of 2 and is centred between bars of 320 window units.
    SDL_SetWindowSize(host->window(), 1280, 1136);
    frame();
    mouse(SDL_MOUSEBUTTONDOWN, 320 + 100, 200);
    mouse(SDL_MOUSEBUTTONUP, 320 + 640, 1136);
    // Half as wide: the picture shrinks to a zoom of 1, with bars of 284 above and below.
    SDL_SetWindowSize(host->window(), 320, 1136);
    frame();
    mouse(SDL_MOUSEBUTTONDOWN, 100, 284 + 200);
    mouse(SDL_MOUSEBUTTONUP, 0, 284);
    frame();
    EXPECT_EQ(
        log->entries, (std::vector<std::string> { "began 50,100", "ended 320,568", "began 100,200", "ended 0,0" }));
}

TEST_F(SDLHost, OnlyRestoringAMinimisedWindowCallsTheBecameActiveHook)
{
    int activations = 0;
    host.reset();
    host::SDLHost::Options options;
    options.becameActive = [&] { ++activations; };
    host = host::SDLHost::open(options);
    ASSERT_TRUE(host);
    frame();
    int before = activations;
    auto windowEvent = [&](Uint8 change) {
        SDL_Event event {};
        event.type = SDL_WINDOWEVENT;
        event.window.event = change;
        push(event);
    };
    // Focus coming and going, and a maximised window restored, are not the application coming back.
    windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    windowEvent(SDL_WINDOWEVENT_MAXIMIZED);
    windowEvent(SDL_WINDOWEVENT_RESTORED);
    frame();
    EXPECT_EQ(activations, before);
    windowEvent(SDL_WINDOWEVENT_MINIMIZED);
    windowEvent(SDL_WINDOWEVENT_RESTORED);
    windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    frame();
    EXPECT_EQ(activations, before + 1);
}

TEST_F(SDLHost, TheWindowKeepsAMinimumSizeAndTakesTheClickThatFocusesIt)
{
    EXPECT_TRUE(SDL_GetHintBoolean(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, SDL_FALSE));
    SDL_SetWindowSize(host->window(), 10, 10);
    frame();
    int width = 0, height = 0;
    SDL_GetWindowSize(host->window(), &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 568);
    // The picture fills the smallest window at one point per unit.
    mouse(SDL_MOUSEBUTTONDOWN, 100, 200);
    mouse(SDL_MOUSEBUTTONUP, 100, 200);
    frame();
    EXPECT_EQ(log->entries, (std::vector<std::string> { "began 100,200", "ended 100,200" }));
}

TEST_F(SDLHost, NoOnScreenKeyboardCoversTheScreenWhileTheWindowIsOpen)
{
    EXPECT_FALSE(ui::Keyboard::shared().coversScreen());
    EXPECT_EQ(ui::Keyboard::shared().shownFrame(), gfx::Rect(0, 568, 320, 0));
    host.reset();
    EXPECT_TRUE(ui::Keyboard::shared().coversScreen());
    EXPECT_EQ(ui::Keyboard::shared().shownFrame(), gfx::Rect(0, 352, 320, 216));
}

TEST_F(SDLHost, PresentsWhenSomethingChangedAndClosesCleanly)
{
    auto window = std::make_shared<ui::Window>();
    window->setBackgroundColor(gfx::Color::blue());
    window->makeKeyAndVisible();
    frame();
    uint64_t shown = host->framesPresented();
    EXPECT_GE(shown, 1u);
    frame();
    EXPECT_EQ(host->framesPresented(), shown);
    ui::View::animateWithDuration(0.1, [&] { window->setAlpha(0.5); });
    for (int i = 0; i < 6; ++i)
        frame();
    EXPECT_GE(host->framesPresented(), shown + 5);

    SDL_Event quit {};
    quit.type = SDL_QUIT;
    push(quit);
    frame();
    EXPECT_TRUE(host->isClosed());
}

TEST_F(SDLHost, EventsQueuedDuringATurnAreHandledOnTheNextTurnsWithoutWaitingForAPoll)
{
    // The offscreen driver has no connection to watch, so SDL is polled every frame; an event another part
    // of the application queues (as the launcher queues a quit) is handled before the clock moves all the same.
    EXPECT_EQ(host->pollPeriod(), host::PumpSchedule::framePeriod);
    base::RunLoop::main().post([&] {
        mouse(SDL_MOUSEBUTTONDOWN, 100, 200);
        mouse(SDL_MOUSEBUTTONUP, 100, 200);
    });
    clock->advance(base::Duration::zero());
    EXPECT_EQ(log->entries, (std::vector<std::string> { "began 50,100", "ended 50,100" }));
}

// Ctrl+C, a termination, a closed terminal (SIGHUP) and a quit close the window as a click on its close button
// does, so that the run's end waits for what was sent; the signals get their former actions back afterwards.
TEST_F(SDLHost, AnInterruptionClosesTheWindowAndTheSignalsGetTheirFormerActionsBack)
{
    for (int signal : { SIGINT, SIGTERM, SIGHUP, SIGQUIT }) {
        SCOPED_TRACE(signal);
        host.reset();
        struct sigaction before { };
        sigaction(signal, nullptr, &before);
        host = host::SDLHost::open({});
        ASSERT_TRUE(host);
        raise(signal);
        EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return host->isClosed(); }, std::chrono::seconds(10)));
        host.reset();
        struct sigaction after { };
        sigaction(signal, nullptr, &after);
        EXPECT_EQ(after.sa_handler, before.sa_handler);
    }
}

namespace {

volatile sig_atomic_t quitsHeard = 0;
void hearQuit(int) { quitsHeard = quitsHeard + 1; }

} // namespace

// A quit that something else has taken stays with it, and an ignored hang-up (nohup's) stays ignored.
TEST_F(SDLHost, AQuitTakenElsewhereAndAnIgnoredHangUpAreLeftAlone)
{
    host.reset();
    struct sigaction quit { };
    quit.sa_handler = hearQuit;
    sigemptyset(&quit.sa_mask);
    struct sigaction formerQuit { };
    sigaction(SIGQUIT, &quit, &formerQuit);
    struct sigaction ignore { };
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    struct sigaction formerHangUp { };
    sigaction(SIGHUP, &ignore, &formerHangUp);

    host = host::SDLHost::open({});
    ASSERT_TRUE(host);
    raise(SIGQUIT);
    raise(SIGHUP);
    frame();
    EXPECT_FALSE(host->isClosed());
    EXPECT_EQ(quitsHeard, 1);
    host.reset();
    sigaction(SIGQUIT, &formerQuit, nullptr);
    sigaction(SIGHUP, &formerHangUp, nullptr);
}
