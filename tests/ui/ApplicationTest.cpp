#include "ui/view/Application.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

using gfx::Rect;

class Application : public test::UITest { };

TEST_F(Application, WindowsAreOrderedByLevelThenByShowing)
{
    auto& app = ui::Application::shared();
    auto first = std::make_shared<ui::Window>();
    auto second = std::make_shared<ui::Window>();
    auto alert = std::make_shared<ui::Window>();
    alert->setWindowLevel(1);
    alert->setHidden(false);
    first->makeKeyAndVisible();
    second->setHidden(false);
    EXPECT_EQ(app.windows(), (std::vector<std::shared_ptr<ui::Window>> { first, second, alert }));
    // Showing a window does not make it key.
    EXPECT_EQ(app.keyWindow(), first);
    EXPECT_TRUE(first->isKeyWindow());

    first->setHidden(true);
    EXPECT_EQ(app.keyWindow(), alert);
    first->setHidden(false);
    EXPECT_EQ(app.windows().back(), alert);
    EXPECT_EQ(app.windows()[1], first);

    // The application does not keep windows alive.
    second.reset();
    EXPECT_EQ(app.windows().size(), 2u);
}

TEST_F(Application, TheApplicationFrameLeavesRoomForTheStatusBar)
{
    auto& app = ui::Application::shared();
    ui::Screen::main().setBounds({ 0, 0, 320, 480 });
    EXPECT_EQ(ui::Screen::main().applicationFrame(), Rect(0, 20, 320, 460));
    EXPECT_EQ(app.statusBarFrame(), Rect(0, 0, 320, 20));
    app.setStatusBarHidden(true, ui::StatusBarAnimation::Fade);
    EXPECT_EQ(ui::Screen::main().applicationFrame(), Rect(0, 0, 320, 480));
    EXPECT_EQ(app.statusBarFrame().height(), 0);
    EXPECT_EQ(app.statusBarOrientation(), ui::InterfaceOrientation::Portrait);
    EXPECT_EQ(ui::Screen::main().scale(), 2);
}
