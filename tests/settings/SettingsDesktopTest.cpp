// The settings centre in the desktop window, used with the mouse and the keyboard: no on-screen keyboard
// moves the password panel while a field is edited, so each click lands on the field under the mouse, and
// Escape closes the panel as a click beside it does.
#include "SettingsFixture.h"

#include "host/SDLHost.h"
#include "settings/personal/PersonalInfoPasswordPanel.h"
#include "support/DesktopEvents.h"

namespace {

using namespace test::desktop;
using Row = settings::PersonalInfoRow;

class SettingsDesktop : public test::SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        useOffscreenVideo();
    }
    void TearDown() override
    {
        window.reset();
        SettingsTest::TearDown();
    }

    std::unique_ptr<host::SDLHost> window;
};

TEST_F(SettingsDesktop, EachClickInThePasswordPanelFocusesTheFieldUnderTheMouse)
{
    openSettings();
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);
    auto cell = cellOf(Row::ChangePassword);
    ASSERT_TRUE(cell);
    click(centreOf(cell));
    pass(1);
    auto panel = settings()->passwordView();
    ASSERT_TRUE(panel->window());
    double resting = panel->JiaRenView()->frame().minY();
    gfx::Point oldField = centreOf(panel->OldPasswordNum());
    gfx::Point newField = centreOf(panel->NewNum());

    click(oldField);
    type("old");
    pass(1);
    EXPECT_EQ(panel->JiaRenView()->frame().minY(), resting);
    click(newField);
    type("fresh");
    pass(1);
    EXPECT_TRUE(panel->NewNum()->isFirstResponder());
    EXPECT_EQ(panel->OldPasswordNum()->text(), "old");
    EXPECT_EQ(panel->NewNum()->text(), "fresh");
    EXPECT_EQ(panel->SureNum()->text(), "");
    EXPECT_EQ(panel->JiaRenView()->frame().minY(), resting);

    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_FALSE(panel->window());
    EXPECT_EQ(requestsTo("UpdatePassword"), 0u);
}

} // namespace
