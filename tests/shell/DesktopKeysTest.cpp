// The signed-in container in the desktop window: Escape closes the open drawer and, with none open, has
// nowhere to go back to from the home screen.
#include "ShellFixture.h"

#include "host/SDLHost.h"
#include "support/DesktopEvents.h"

namespace {

using namespace test::desktop;

class DesktopKeys : public test::ShellTest {
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

TEST_F(DesktopKeys, EscapeClosesTheOpenDrawerAndLeavesTheHomeScreenAlone)
{
    launchAndSignIn();
    ASSERT_TRUE(container());
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);
    container()->openDrawerSide(kit::DrawerSide::Left, false);
    pass(1);
    ASSERT_EQ(container()->openSide(), kit::DrawerSide::Left);

    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_EQ(container()->openSide(), kit::DrawerSide::None);
    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_EQ(container()->openSide(), kit::DrawerSide::None);
    EXPECT_TRUE(home());
    EXPECT_EQ(login()->signedInContainer(), container());
}

} // namespace
