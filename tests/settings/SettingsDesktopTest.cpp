// The settings centre in the desktop window, used with the mouse and the keyboard: no on-screen keyboard
// moves the password panel while a field is edited, so each click lands on the field under the mouse;
// Escape closes the panel as a click beside it does, and a closed panel forgets the typed passwords; Return
// answers each alert and sheet as its emphasised button does: the rename prompt's "done", every other's
// Cancel.
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

TEST_F(SettingsDesktop, APasswordPanelClosedByEscapeOrCancelShowsNoTypedPasswordWhenReopened)
{
    openSettings();
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);
    auto panel = settings()->passwordView();
    for (bool byEscape : { true, false }) {
        click(centreOf(cellOf(Row::ChangePassword)));
        pass(1);
        ASSERT_TRUE(panel->window());
        for (const auto& field : { panel->OldPasswordNum(), panel->NewNum(), panel->SureNum() }) {
            EXPECT_EQ(field->text(), "") << (byEscape ? "Escape" : "Cancel");
            click(centreOf(field));
            type("secret");
        }
        pass(1);
        if (byEscape)
            key(SDLK_ESCAPE);
        else
            click(centreOf(panel->cancel()));
        pass(1);
        EXPECT_FALSE(panel->window());
    }
    click(centreOf(cellOf(Row::ChangePassword)));
    pass(1);
    for (const auto& field : { panel->OldPasswordNum(), panel->NewNum(), panel->SureNum() })
        EXPECT_EQ(field->text(), "");
    EXPECT_EQ(requestsTo("UpdatePassword"), 0u);
}

TEST_F(SettingsDesktop, ReturnSendsTheTypedNameFromTheRenamePromptAndNothingFromTheOtherAlerts)
{
    openSettings();
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);
    auto pressReturn = [this] {
        key(SDLK_RETURN);
        pass(1);
    };
    // Factory reset (a confirmation with Cancel), clearing the stored messages (a sheet), and the notice of a
    // wrong password (one button) send nothing.
    for (Row row : { Row::RestoreDevice, Row::ClearCache }) {
        click(centreOf(cellOf(row)));
        pass(1);
        EXPECT_TRUE(test::returnAnswersTheEmphasisedButton(pressReturn)) << static_cast<int>(row);
    }
    // The rename prompt takes text: Return sends the name typed, as "done" does.
    click(centreOf(cellOf(Row::DeviceName)));
    pass(1);
    type("Kid's watch");
    EXPECT_TRUE(test::returnAnswersTheEmphasisedButton(pressReturn));
    waitForCommands();
    ASSERT_EQ(requestsTo("UpdateDeviceName"), 1u);
    EXPECT_EQ(lastBody("UpdateDeviceName")->objectForKey("DeviceName")->stringValue(), "Kid's watch");
    // Its outcome is said in a notice of one button.
    EXPECT_TRUE(test::returnAnswersTheEmphasisedButton(pressReturn));
    EXPECT_FALSE(test::shownAlert());

    click(centreOf(cellOf(Row::ChangePassword)));
    pass(1);
    auto panel = settings()->passwordView();
    for (const auto& field : { panel->OldPasswordNum(), panel->NewNum(), panel->SureNum() }) {
        click(centreOf(field));
        type("wrong");
    }
    click(centreOf(panel->done()));
    pass(1);
    EXPECT_TRUE(test::returnAnswersTheEmphasisedButton(pressReturn));
    EXPECT_FALSE(test::shownAlert());

    waitForCommands();
    EXPECT_EQ(requestsTo("LumetFactory"), 0u);
}

} // namespace
