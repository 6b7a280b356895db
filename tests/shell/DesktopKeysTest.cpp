// The signed-in container in the desktop window: Escape closes the open drawer and, with none open, has
// nowhere to go back to from the home screen; the second click of a double click never reaches a screen that
// the first one pushed or popped to.
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

// SDL counts a press within its double-click time (500 ms) of the one before as the next of a multiple click;
// the gaps fall while the push slides, just as it ends, and after it.
constexpr double doubleClickGaps[] = { 0.15, 0.35, 0.45 };

TEST_F(DesktopKeys, ADoubleClickOnDevicesOpensTheListWithoutPickingTheRowUnderTheMouse)
{
    launchAndSignIn();
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() && networkIdle(); }));
    std::string current = core::Singleton::shared().lastSerialnumber();
    gfx::Point devices = centreOf(home()->deviceListButton());
    auto navigation = home()->navigationController();

    for (double gap : doubleClickGaps) {
        click(devices);
        // The list's rows come while the push still slides.
        pass(gap);
        auto list = std::dynamic_pointer_cast<shell::DeviceListVC>(navigation->topViewController());
        ASSERT_TRUE(list && !list->devices().empty()) << gap;
        click(devices, 2);
        pass(1);
        EXPECT_EQ(navigation->topViewController().get(), list.get()) << gap;
        EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), current) << gap;
        navigation->popToRootViewController(false);
        pass(1);
    }
}

TEST_F(DesktopKeys, ADoubleClickOnADeviceRowGoesHomeWithoutOpeningTheListAgain)
{
    launchAndSignIn();
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() && networkIdle(); }));
    // The row under the mouse lies where the home screen shows its devices button.
    gfx::Point devices = centreOf(home()->deviceListButton());
    auto navigation = home()->navigationController();

    for (double gap : doubleClickGaps) {
        click(devices);
        pass(1);
        ASSERT_TRUE(std::dynamic_pointer_cast<shell::DeviceListVC>(navigation->topViewController())) << gap;
        click(devices);
        pass(gap);
        click(devices, 2);
        pass(1);
        EXPECT_EQ(navigation->viewControllers().size(), 1u) << gap;
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
    }
}

} // namespace
