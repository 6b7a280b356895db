// The application in the SDL window host (SDL's offscreen video driver): a user signs in by clicking into
// the fields, typing and clicking the sign-in button, all injected through SDL's event queue.
#include "ShellFixture.h"

#include "host/SDLHost.h"
#include "ui/controls/Button.h"

#include <SDL.h>
#include <cstdlib>
#include <cstring>

namespace {

class SDLSignIn : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        // The host needs no GL; the system's EGL would keep memory the leak checker cannot attribute.
        setenv("SDL_VIDEO_EGL_DRIVER", "/nonexistent/libEGL.so", 1);
    }
    void TearDown() override
    {
        window.reset();
        ShellTest::TearDown();
    }

    // A click of the left button at a point of the screen (one window pixel per point).
    static void click(gfx::Point point)
    {
        for (Uint32 type : { SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP }) {
            SDL_Event event {};
            event.type = type;
            event.button.button = SDL_BUTTON_LEFT;
            event.button.x = static_cast<int>(point.x);
            event.button.y = static_cast<int>(point.y);
            SDL_PushEvent(&event);
        }
    }
    static void type(const char* text)
    {
        SDL_Event event {};
        event.type = SDL_TEXTINPUT;
        std::strncpy(event.text.text, text, sizeof event.text.text - 1);
        SDL_PushEvent(&event);
    }
    static gfx::Point centreOf(const std::shared_ptr<ui::View>& view)
    {
        return view->convertPointTo({ view->bounds().midX(), view->bounds().midY() }, nullptr);
    }

    std::unique_ptr<host::SDLHost> window;
};

TEST_F(SDLSignIn, ClicksAndTypingInTheWindowSignIn)
{
    launch();
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);

    click(centreOf(login()->accountField()));
    type(account);
    click(centreOf(login()->passwordField()));
    type(password);
    pass(0.2);
    EXPECT_EQ(login()->accountField()->text(), account);
    EXPECT_EQ(login()->passwordField()->text(), password);

    click(centreOf(login()->signInButton()));
    ASSERT_TRUE(pumpUntil([this] { return container() != nullptr; }));
    EXPECT_TRUE(pumpUntil([this] { return home() && home()->deviceDetail(); }));
    EXPECT_GT(window->framesPresented(), 0u);
}

} // namespace
