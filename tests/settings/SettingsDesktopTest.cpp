// The settings centre in the desktop window, used with the mouse and the keyboard: no on-screen keyboard
// moves the password panel while a field is edited, so each click lands on the field under the mouse;
// Escape closes the panel as a click beside it does, and a closed panel forgets the typed passwords; Return
// answers each alert and sheet as its emphasised button does: the rename prompt's "done", every other's
// Cancel; Return in the password panel moves from field to field and sends from the last. A window closed while
// a password change is on its way shows that the run is finishing what was sent until the answer comes.
#include "SettingsFixture.h"

#include "gfx/images/Image.h"
#include "host/SDLHost.h"
#include "kit/overlay/ProgressOverlay.h"
#include "settings/personal/PersonalInfoPasswordPanel.h"
#include "support/DesktopEvents.h"
#include "tracking-service/Fault.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"

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

TEST_F(SettingsDesktop, ReturnInThePasswordPanelMovesToTheNextFieldAndSendsFromTheLast)
{
    openSettings();
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);
    click(centreOf(cellOf(Row::ChangePassword)));
    pass(1);
    auto panel = settings()->passwordView();
    ASSERT_TRUE(panel->window());
    click(centreOf(panel->OldPasswordNum()));
    type(password);
    key(SDLK_RETURN);
    pass(0.5);
    EXPECT_TRUE(panel->NewNum()->isFirstResponder());
    type("fresh-one");
    key(SDLK_RETURN);
    pass(0.5);
    EXPECT_TRUE(panel->SureNum()->isFirstResponder());
    EXPECT_EQ(requestsTo("UpdatePassword"), 0u) << "nothing is sent before the last field";
    type("fresh-one");
    key(SDLK_RETURN);
    pass(1);
    waitForCommands();
    ASSERT_EQ(requestsTo("UpdatePassword"), 1u) << "Return in the last field presses done";
    auto body = lastBody("UpdatePassword");
    EXPECT_EQ(body->objectForKey("old_pwd")->stringValue(), password);
    EXPECT_EQ(body->objectForKey("new_pwd")->stringValue(), "fresh-one");
    EXPECT_FALSE(panel->window());
    EXPECT_TRUE(service.store().checkPassword(account, "fresh-one"));
}

// Whether the window's own pixels below the status strip are what the screen shows now (the window opened at
// one pixel per frame pixel).
bool windowShowsTheScreen(SDL_Window* window)
{
    ui::UpdateCycle::main().runPasses();
    auto screen = ui::ScreenRenderer::renderImage();
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!screen || !surface || surface->w != screen->pixelWidth() || surface->h != screen->pixelHeight())
        return false;
    int below = static_cast<int>(ui::Application::shared().statusBarFrame().maxY() * ui::Screen::main().scale());
    for (int y = below; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            Uint32 shown = *reinterpret_cast<const Uint32*>(
                static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + x * 4);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(shown, surface->format, &r, &g, &b);
            uint32_t drawn = screen->pixel(x, y);
            if (r != ((drawn >> 16) & 0xff) || g != ((drawn >> 8) & 0xff) || b != (drawn & 0xff))
                return false;
        }
    }
    return true;
}

// The window closed (its close button) while a password change is on its way: until the answer comes, the
// window goes on showing frames, and they show "Finishing what was sent".
TEST_F(SettingsDesktop, AClosedWindowShowsThatTheRunIsFinishingWhatWasSent)
{
    openSettings();
    host::SDLHost::Options options;
    options.zoom = ui::Screen::main().scale();
    window = host::SDLHost::open(options);
    ASSERT_TRUE(window);
    tapRow(Row::ChangePassword);
    const auto& panel = settings()->passwordView();
    panel->OldPasswordNum()->setText(password);
    panel->NewNum()->setText("changed-at-close");
    panel->SureNum()->setText("changed-at-close");
    service.faults().set("UpdatePassword", tracking_service::Fault::held());
    tap(panel->done());
    ASSERT_TRUE(waitForRequests("UpdatePassword", 1));
    pass(1);

    SDL_Event close {};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(window->window());
    SDL_PushEvent(&close);
    pass(0.1);
    ASSERT_TRUE(window->isClosed());

    std::string notice = base::localized("finishing_before_exit");
    std::optional<bool> drawn, shown;
    base::RunLoop::main().post([&] {
        // The notice fades in on the run's clock, then the window's frames are looked at.
        clock->advance(1s);
        drawn = textInRegion(notice, ui::Screen::main().bounds());
        shown = windowShowsTheScreen(window->window());
        service.faults().remove("UpdatePassword");
    });
    EXPECT_TRUE(application->finishBeforeExit(30s));
    EXPECT_EQ(drawn, true) << "the notice is on the screen";
    EXPECT_EQ(shown, true) << "and the window shows it";
    EXPECT_TRUE(service.store().checkPassword(account, "changed-at-close"));
}

} // namespace
