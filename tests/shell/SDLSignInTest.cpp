// The application in the SDL window host (SDL's offscreen video driver): a user signs in by clicking into
// the fields, typing and clicking the sign-in button, all injected through SDL's event queue.
#include "ShellFixture.h"

#include "host/SDLHost.h"
#include "support/DesktopEvents.h"
#include "ui/controls/Button.h"

namespace {

using namespace test::desktop;

class SDLSignIn : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        useOffscreenVideo();
    }
    void TearDown() override
    {
        window.reset();
        ShellTest::TearDown();
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
