#include "ui/controls/NavigationBar.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

namespace {

constexpr uint32_t red = 0xFFFF0000u;
constexpr uint32_t black = 0xFF000000u;
constexpr uint32_t white = 0xFFFFFFFFu;

// The screen filled red, with the status strip drawn over it.
class StatusStrip : public test::UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        window = std::make_shared<ui::Window>();
        window->setBackgroundColor(gfx::Color::red());
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        window->setHidden(true);
        window.reset();
        auto& application = ui::Application::shared();
        application.setStatusBarStyle(ui::StatusBarStyle::Default);
        application.setStatusBarNetwork(ui::StatusBarNetwork::Unknown);
        UITest::TearDown();
    }

    // A pixel of the rendered screen at a point (the screen's scale is 2).
    uint32_t at(double x, double y)
    {
        auto frame = ui::ScreenRenderer::renderImage();
        return frame->pixel(int(x * 2), int(y * 2));
    }
    int inkInClock(uint32_t ink)
    {
        auto frame = ui::ScreenRenderer::renderImage();
        int count = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 260; x < 380; ++x)
                count += frame->pixel(x, y) == ink;
        }
        return count;
    }

    std::shared_ptr<ui::Window> window;
};

TEST_F(StatusStrip, ShowsTheScreenBelowWithTheClockInTheStylesInk)
{
    EXPECT_EQ(at(300, 5), red);
    EXPECT_GT(inkInClock(black), 20);
    EXPECT_EQ(inkInClock(white), 0);

    ui::Application::shared().setStatusBarStyle(ui::StatusBarStyle::LightContent);
    EXPECT_EQ(at(300, 5), red);
    EXPECT_GT(inkInClock(white), 20);
    EXPECT_EQ(inkInClock(black), 0);
}

TEST_F(StatusStrip, FilledBarsForANetworkOutlinedForNoneNothingBeforeTheFirstCheck)
{
    // The tallest bar spans x 19.5-22.5 and y 4.25-15.75.
    auto& application = ui::Application::shared();
    EXPECT_EQ(at(21, 10), red);
    EXPECT_EQ(at(19.5, 10), red);

    application.setStatusBarNetwork(ui::StatusBarNetwork::Online);
    EXPECT_EQ(at(21, 10), black);

    application.setStatusBarNetwork(ui::StatusBarNetwork::Offline);
    EXPECT_EQ(at(21, 10), red);
    EXPECT_EQ(at(19.5, 10), black);
}

// A bar right below the strip reaches up under it in its tint, whatever lies behind (here a red window); a bar
// anywhere else paints nothing above itself, and the strip shows the screen again when the bar moves away.
TEST_F(StatusStrip, TakesTheTintOfANavigationBarRightBelowIt)
{
    constexpr uint32_t blue = 0xFF0000FFu;
    auto content = std::make_shared<ui::View>(gfx::Rect { 0, 20, 320, 548 });
    window->addSubview(content);
    auto bar = std::make_shared<ui::NavigationBar>();
    bar->setBarTintColor(gfx::Color::blue());
    content->addSubview(bar);
    ui::UpdateCycle::main().runPasses();
    EXPECT_EQ(at(300, 5), blue);
    EXPECT_EQ(at(300, 30), blue);
    EXPECT_GT(inkInClock(black), 20);

    bar->setBarTintColor(gfx::Color::green());
    ui::UpdateCycle::main().runPasses();
    EXPECT_EQ(at(300, 5), 0xFF00FF00u);

    bar->setFrame({ 0, 100, 320, ui::NavigationBar::height });
    bar->setNeedsLayout();
    ui::UpdateCycle::main().runPasses();
    EXPECT_EQ(at(300, 5), red);
    EXPECT_EQ(at(300, 110), red);
    EXPECT_EQ(at(300, 130), 0xFF00FF00u);
}

} // namespace
