// The floating panel on the manual clock: its geometry on the smaller screen, content replacement, the frame
// colour, closing by a tap on the mask, present and dismiss in every order (a cut-short dismissal, a present
// without a key window), and a picture of it.
#include "kit/floating/FloatingController.h"

#include "OverlayTestFixture.h"
#include "SnapshotProbes.h"
#include "host/HeadlessHost.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationItem.h"
#include "ui/input/TouchDriver.h"

#include <filesystem>

namespace {

class FloatingPanelTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        ui::Application::shared().setStatusBarHidden(false);
        ui::Screen::main().setBounds({ 0, 0, 320, 480 });
    }

    // Animations still running hold what they animate; letting them end leaves nothing behind.
    void TearDown() override
    {
        advance(10);
        test::WidgetTest::TearDown();
    }

    bool onScreen() const { return panel->isViewLoaded() && panel->view()->superview() == window; }

    std::shared_ptr<kit::FloatingController> panel = std::make_shared<kit::FloatingController>();
    std::shared_ptr<ui::ViewController> details = std::make_shared<ui::ViewController>();
    ui::TouchDriver finger;
};

TEST_F(FloatingPanelTest, DefaultPanelIsCentredInTheApplicationFrame)
{
    panel->presentWithContentViewController(details, true);
    EXPECT_TRUE(panel->isPresented());
    EXPECT_TRUE(onScreen());
    EXPECT_EQ(panel->view()->frame(), (gfx::Rect { 0, 20, 320, 460 }));
    EXPECT_EQ(panel->frameView()->frame(), (gfx::Rect { 33, 33, 254, 394 }));
    EXPECT_EQ(panel->contentView()->frame(), (gfx::Rect { 5, 0, 244, 389 }));
    EXPECT_EQ(panel->floatingNavigationController()->view()->frame(), (gfx::Rect { 0, 0, 244, 389 }));
    EXPECT_EQ(panel->floatingNavigationController()->navigationBar()->frame(), (gfx::Rect { 0, 0, 244, 44 }));
    EXPECT_EQ(panel->contentOverlayView()->frame(), (gfx::Rect { 3, 42, 248, 349 }));
    EXPECT_EQ(panel->frameView()->subviews().back(), panel->contentOverlayView());
    EXPECT_FALSE(panel->contentOverlayView()->isUserInteractionEnabled());
    EXPECT_EQ(panel->floatingNavigationController()->topViewController(), details);
    EXPECT_EQ(panel->floatingNavigationController()->viewControllers().size(), 1u);
    ASSERT_TRUE(panel->frameView()->layer()->shadowPath());
    gfx::Rect shadow = panel->frameView()->layer()->shadowPath()->boundingBox();
    EXPECT_NEAR(shadow.minX(), 0, 1e-9);
    EXPECT_NEAR(shadow.minY(), 0, 1e-9);
    EXPECT_NEAR(shadow.width(), 254, 1e-9);
    EXPECT_NEAR(shadow.height(), 394, 1e-9);

    advance(0.2);
    turn();
    EXPECT_EQ(panel->floatingNavigationController()->navigationBar()->frame().minY(), 0);
}

TEST_F(FloatingPanelTest, OddMarginsRoundUp)
{
    panel->setFrameSize({ 255, 393 });
    EXPECT_EQ(panel->frameSize(), (gfx::Size { 255, 393 }));
    panel->presentWithContentViewController(details, false);
    EXPECT_EQ(panel->frameView()->frame().origin, (gfx::Point { 33, 34 }));
}

TEST_F(FloatingPanelTest, FrameColourPaintsTheBodyTheEdgeAndTheBarAtOnce)
{
    EXPECT_EQ(panel->frameColor(), kit::FloatingController::defaultFrameColor());
    auto green = gfx::Color::rgb(0.1, 0.4, 0.2);
    panel->setFrameColor(green);
    EXPECT_EQ(panel->frameView()->baseColor(), green);
    EXPECT_EQ(panel->contentOverlayView()->edgeColor(), green);
    EXPECT_EQ(panel->floatingNavigationController()->navigationBar()->tintColor(), green);
}

TEST_F(FloatingPanelTest, ADifferentContentWaitsUntilThePanelHasClosed)
{
    panel->presentWithContentViewController(details, true);
    auto other = std::make_shared<ui::ViewController>();
    panel->presentWithContentViewController(other, true);
    EXPECT_EQ(panel->contentViewController(), details);

    panel->dismissAnimated(true);
    advance(0.31);
    EXPECT_FALSE(onScreen());
    EXPECT_FALSE(panel->isPresented());
    panel->presentWithContentViewController(other, true);
    EXPECT_EQ(panel->contentViewController(), other);
    EXPECT_EQ(panel->floatingNavigationController()->topViewController(), other);
    EXPECT_FALSE(details->view()->superview());
}

TEST_F(FloatingPanelTest, TheSameContentKeepsItsNavigationStack)
{
    panel->presentWithContentViewController(details, false);
    panel->floatingNavigationController()->pushViewController(std::make_shared<ui::ViewController>(), false);
    panel->dismissAnimated(false);
    turn();
    panel->presentWithContentViewController(details, false);
    EXPECT_EQ(panel->floatingNavigationController()->viewControllers().size(), 2u);
}

TEST_F(FloatingPanelTest, TapOnTheMaskClosesThePanelButATapInTheFrameDoesNot)
{
    panel->presentWithContentViewController(details, true);
    advance(0.5);
    finger.tap({ 160, 300 });
    advance(0.5);
    EXPECT_TRUE(onScreen());

    finger.tap({ 10, 100 });
    EXPECT_TRUE(onScreen());
    advance(0.31);
    EXPECT_FALSE(onScreen());
    EXPECT_FALSE(panel->isPresented());
}

TEST_F(FloatingPanelTest, PresentAndDismissInEveryOrderLeaveThePanelUsable)
{
    // Dismissed without having been presented.
    panel->dismissAnimated(true);
    advance(0.31);
    panel->presentWithContentViewController(details, false);
    EXPECT_TRUE(onScreen());

    // A second dismissal cuts the first short: the panel still closes, once.
    panel->dismissAnimated(true);
    advance(0.1);
    panel->dismissAnimated(true);
    advance(0.15);
    EXPECT_TRUE(panel->isPresented());
    advance(0.16);
    EXPECT_FALSE(onScreen());
    EXPECT_FALSE(panel->isPresented());

    // Presented while closing: ignored, and the panel closes.
    panel->presentWithContentViewController(details, true);
    panel->dismissAnimated(true);
    advance(0.1);
    panel->presentWithContentViewController(details, true);
    advance(0.21);
    EXPECT_FALSE(onScreen());

    // Closed without animation: gone on the next turn, then shown again.
    panel->presentWithContentViewController(details, true);
    panel->dismissAnimated(false);
    turn();
    EXPECT_FALSE(onScreen());
    panel->presentWithContentViewController(details, true);
    EXPECT_TRUE(onScreen());
    advance(0.31);
    EXPECT_EQ(panel->view()->alpha(), 1);
}

TEST_F(FloatingPanelTest, WithoutAKeyWindowNothingShowsAndTheNextPresentWorks)
{
    window->setHidden(true);
    window.reset();
    ASSERT_FALSE(ui::Application::shared().keyWindow());
    panel->presentWithContentViewController(details, true);
    EXPECT_FALSE(panel->isPresented());
    EXPECT_FALSE(panel->view()->superview());

    window = std::make_shared<ui::Window>();
    window->makeKeyAndVisible();
    panel->presentWithContentViewController(details, true);
    EXPECT_TRUE(panel->isPresented());
    EXPECT_TRUE(onScreen());
}

TEST_F(FloatingPanelTest, Snapshot)
{
    gfx::TextMeasurer::Override realText { nullptr };
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
    ui::Screen::main().setBounds(ui::Screen::defaultBounds);
    auto backdrop = std::make_shared<ui::View>(window->bounds());
    backdrop->setBackgroundColor(gfx::Color::rgb(0.85, 0.9, 0.95));
    window->addSubview(backdrop);
    details->setTitle("Watch");
    // The content runs under the see-through bar; its body starts below it so that the gloss shows.
    details->view()->setBackgroundColor(gfx::Color::clear());
    auto body = std::make_shared<ui::View>(gfx::Rect { 0, 44, 244, 345 });
    body->setBackgroundColor(gfx::Color::white());
    details->view()->addSubview(body);
    auto line = std::make_shared<ui::Label>(gfx::Rect { 12, 20, 220, 30 });
    line->setText("Battery 80%");
    body->addSubview(line);
    panel->floatingNavigationController()->navigationBar()->setTitleTextAttributes(
        gfx::TextAttributes { gfx::Font::boldSystem(17), gfx::Color::white(), {} });
    panel->presentWithContentViewController(details, true);
    advance(0.5);
    auto path = host.writeFrame("kit-floating-panel");
    ASSERT_TRUE(path);
    EXPECT_TRUE(std::filesystem::exists(*path));
    // The body's line inside the panel, the title in its bar, the body white below it.
    EXPECT_TRUE(test::showsText(*body, "Battery 80%", { 0, 0, 244, 80 }));
    EXPECT_TRUE(test::showsText(*window, "Watch", test::ScreenProbe::toScreen(*panel->frameView(), { 0, 0, 254, 60 })));
    EXPECT_TRUE(test::shows(*body, { 120, 200 }, gfx::Color::white()));
    EXPECT_FALSE(test::shows(*window, { 2, 300 }, gfx::Color::white()));
}

} // namespace
