// The signed-in container in the desktop window: Escape closes the open drawer and, with none open, has
// nowhere to go back to from the home screen; a double click on a button that pushes a screen does not reach
// the pushed screen.
#include "ShellFixture.h"

#include "host/SDLHost.h"
#include "shell/devices/DeviceListVC.h"
#include "support/DesktopEvents.h"
#include "ui/controllers/NavigationController.h"

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

TEST_F(DesktopKeys, ADoubleClickOnDevicesOpensTheListWithoutPickingTheRowUnderTheMouse)
{
    launchAndSignIn();
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() && networkIdle(); }));
    std::string current = core::Singleton::shared().lastSerialnumber();
    gfx::Point devices = centreOf(home()->deviceListButton());

    click(devices);
    std::shared_ptr<shell::DeviceListVC> list;
    // The list's rows come while the push still slides.
    ASSERT_TRUE(pumpUntil(
        [&] {
            list = std::dynamic_pointer_cast<shell::DeviceListVC>(home()->navigationController()->topViewController());
            return list && !list->devices().empty();
        },
        0.15));
    click(devices);
    pass(1);
    EXPECT_EQ(home()->navigationController()->topViewController().get(), list.get());
    EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), current);
}

} // namespace
