#include "DrawerFixture.h"

#include "kit/drawer/DrawerLookup.h"
#include "ui/controllers/KeyedCoder.h"
#include "ui/controllers/NavigationController.h"

#include <cmath>

namespace test {
namespace {

    using kit::DrawerSide;

    // The open and close durations are single precision: 0.15 s is 0.15000000596046448 s.
    constexpr double minimumDuration = 0.15f;

    class DrawerControllerTest : public DrawerTest { };

    // Opening and closing.

    TEST_F(DrawerControllerTest, OpenTakesDistanceOverVelocityAndReportsAtTheEnd)
    {
        makeDrawer();
        CompletionRecord done;
        drawer->openDrawerSide(DrawerSide::Left, true, recorder(done));

        EXPECT_TRUE(drawer->isAnimatingDrawer());
        EXPECT_FALSE(drawer->view()->isUserInteractionEnabled());
        EXPECT_EQ(centerX(), 260); // the model moves at once
        advance(260.0 / 840 - 0.001);
        EXPECT_TRUE(done.flags.empty());
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        advance(0.001);
        ASSERT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_NEAR(done.times[0], 260.0 / 840, 1e-9);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_FALSE(drawer->isAnimatingDrawer());
        EXPECT_TRUE(drawer->view()->isUserInteractionEnabled());
    }

    TEST_F(DrawerControllerTest, ShortDistancesTakeTheSinglePrecisionMinimum)
    {
        makeDrawer();
        drawer->openDrawerSide(DrawerSide::Left, false);
        turn();
        drawer->centerContainerView()->setFrame(drawer->centerContainerView()->frame().offsetBy(-160, 0));
        CompletionRecord done;
        resetElapsed();
        drawer->closeDrawer(true, recorder(done));
        advance(0.15);
        EXPECT_TRUE(done.flags.empty());
        advance(minimumDuration - 0.15);
        ASSERT_EQ(done.flags.size(), 1u);
        EXPECT_NEAR(done.times[0], minimumDuration, 1e-9);
        EXPECT_EQ(centerX(), 0);
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
    }

    TEST_F(DrawerControllerTest, CloseWhenNothingIsOpenStillRunsTheMinimumAnimation)
    {
        makeDrawer();
        CompletionRecord done;
        drawer->closeDrawer(true, recorder(done));
        EXPECT_TRUE(drawer->isAnimatingDrawer());
        advance(minimumDuration);
        EXPECT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_FALSE(drawer->isAnimatingDrawer());
    }

    TEST_F(DrawerControllerTest, WithoutAnimationTheModelMovesAtOnceAndTheCompletionComesNextTurn)
    {
        makeDrawer();
        CompletionRecord done;
        drawer->openDrawerSide(DrawerSide::Left, false, recorder(done));
        EXPECT_FALSE(drawer->isAnimatingDrawer());
        EXPECT_EQ(centerX(), 260);
        EXPECT_TRUE(done.flags.empty());
        turn();
        EXPECT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
    }

    TEST_F(DrawerControllerTest, RequestsDuringAnAnimationReportNoAndChangeNothing)
    {
        makeDrawer(true);
        drawer->openDrawerSide(DrawerSide::Left, true);
        CompletionRecord open, close, toggle;
        drawer->openDrawerSide(DrawerSide::Right, true, recorder(open));
        drawer->closeDrawer(true, recorder(close));
        drawer->toggleDrawerSide(DrawerSide::Left, true, recorder(toggle));
        EXPECT_EQ(open.flags, std::vector<bool> { false });
        EXPECT_EQ(close.flags, std::vector<bool> { false });
        EXPECT_EQ(toggle.flags, std::vector<bool> { false });
        EXPECT_EQ(centerX(), 260);
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_EQ(centerX(), 260);
    }

    TEST_F(DrawerControllerTest, ToggleOpensClosesAndRefusesTheOtherSide)
    {
        makeDrawer(true);
        drawer->toggleDrawerSide(DrawerSide::Right, true);
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Right);
        EXPECT_EQ(centerX(), -280);

        CompletionRecord refused;
        drawer->toggleDrawerSide(DrawerSide::Left, true, recorder(refused));
        EXPECT_EQ(refused.flags, std::vector<bool> { false });
        EXPECT_FALSE(drawer->isAnimatingDrawer());
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Right);

        CompletionRecord closed;
        drawer->toggleDrawerSide(DrawerSide::Right, true, recorder(closed));
        advance(1);
        EXPECT_EQ(closed.flags, std::vector<bool> { true });
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_EQ(centerX(), 0);
    }

    TEST_F(DrawerControllerTest, OpeningASideWithoutADrawerReportsNoAndChangesNothing)
    {
        makeDrawer();
        CompletionRecord done;
        drawer->openDrawerSide(DrawerSide::Right, true, recorder(done));
        EXPECT_EQ(done.flags, std::vector<bool> { false });
        EXPECT_FALSE(drawer->isAnimatingDrawer());
        EXPECT_TRUE(drawer->view()->isUserInteractionEnabled());
        EXPECT_EQ(centerX(), 0);
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_TRUE(log->empty());
    }

    TEST_F(DrawerControllerTest, DrawerAppearsWhileOpeningAndDisappearsWhileClosing)
    {
        makeDrawer();
        drawer->openDrawerSide(DrawerSide::Left, true);
        EXPECT_EQ(*log, Log { "left.willAppear" });
        EXPECT_FALSE(left->view()->isHidden());
        advance(1);
        EXPECT_EQ(*log, (Log { "left.willAppear", "left.didAppear" }));
        log->clear();
        drawer->closeDrawer(true);
        EXPECT_EQ(*log, Log { "left.willDisappear" });
        advance(1);
        EXPECT_EQ(*log, (Log { "left.willDisappear", "left.didDisappear" }));
        EXPECT_TRUE(left->view()->isHidden());
    }

    // Replacing the centre.

    TEST_F(DrawerControllerTest, PlainCentreSwapMovesAppearanceAndContainment)
    {
        makeDrawer();
        auto next = std::make_shared<LoggingController>("next", log);
        drawer->setCenterViewController(next);
        EXPECT_EQ(*log,
            (Log { "center.willDisappear", "center.didDisappear", "center.didMoveNil", "next.willAppear",
                "next.didAppear", "next.didMove" }));
        EXPECT_EQ(next->view()->superview(), drawer->centerContainerView());
        EXPECT_EQ(next->view()->frame(), drawer->childControllerContainerView()->bounds());
        EXPECT_EQ(drawer->childControllerContainerView()->subviews().back(), drawer->centerContainerView());

        log->clear();
        drawer->setCenterViewController(next);
        EXPECT_TRUE(log->empty());
    }

    TEST_F(DrawerControllerTest, SwapWithCloseAnimationClosesTheDrawerAroundTheNewCentre)
    {
        makeDrawer();
        drawer->openDrawerSide(DrawerSide::Left, false);
        turn();
        log->clear();
        auto next = std::make_shared<LoggingController>("next", log);
        CompletionRecord done;
        drawer->setCenterViewControllerWithCloseAnimation(next, true, recorder(done));
        EXPECT_EQ(*log,
            (Log { "center.willDisappear", "center.didMoveNil", "center.didDisappear", "next.willAppear",
                "left.willDisappear" }));
        EXPECT_TRUE(drawer->isAnimatingDrawer());
        log->clear();
        advance(260.0 / 840);
        EXPECT_EQ(*log, (Log { "left.didDisappear", "next.didAppear", "next.didMove" }));
        EXPECT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
    }

    TEST_F(DrawerControllerTest, SwapWithCloseAnimationOfTheSameCentreStillCloses)
    {
        makeDrawer();
        drawer->openDrawerSide(DrawerSide::Left, false);
        turn();
        log->clear();
        CompletionRecord done;
        drawer->setCenterViewControllerWithCloseAnimation(center, true, recorder(done));
        advance(1);
        EXPECT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_EQ(*log, (Log { "left.willDisappear", "left.didDisappear" }));
    }

    TEST_F(DrawerControllerTest, SwapWithoutAnimationLeavesTheDrawerOpen)
    {
        makeDrawer();
        drawer->openDrawerSide(DrawerSide::Left, false);
        turn();
        CompletionRecord done;
        drawer->setCenterViewControllerWithCloseAnimation(
            std::make_shared<LoggingController>("next", log), false, recorder(done));
        EXPECT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_EQ(centerX(), 260);
    }

    TEST_F(DrawerControllerTest, FullCloseSwapSlidesOffScreenSwapsThenSlidesBack)
    {
        makeDrawer();
        drawer->openDrawerSide(DrawerSide::Left, false);
        turn();
        log->clear();
        resetElapsed();
        auto next = std::make_shared<LoggingController>("next", log);
        CompletionRecord done;
        drawer->setCenterViewControllerWithFullCloseAnimation(next, true, recorder(done));
        EXPECT_TRUE(drawer->isAnimatingDrawer());
        EXPECT_EQ(centerX(), 320);
        EXPECT_EQ(left->view()->frame(), drawer->childControllerContainerView()->bounds());
        EXPECT_EQ(*log, Log { "center.willDisappear" });

        // First leg: 60 points, so the minimum duration.
        advance(minimumDuration);
        EXPECT_EQ(*log,
            (Log { "center.willDisappear", "center.didMoveNil", "center.didDisappear", "next.willAppear",
                "left.willDisappear" }));
        EXPECT_EQ(centerX(), 0);
        EXPECT_TRUE(done.flags.empty());

        // Second leg: 0.1 s (single precision) of delay, then the whole width at 840 points per second.
        log->clear();
        advance(double(0.1f) + 320.0 / 840 - 0.001);
        EXPECT_TRUE(done.flags.empty());
        advance(0.001);
        EXPECT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_EQ(*log, (Log { "next.didAppear", "next.didMove", "left.didDisappear" }));
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_FALSE(drawer->isAnimatingDrawer());
        EXPECT_EQ(left->view()->frame(), (gfx::Rect { 0, 0, 260, 568 }));
    }

    TEST_F(DrawerControllerTest, FullCloseSwapWithNothingOpenIsAPlainSwapWithItsAppearanceCalls)
    {
        makeDrawer();
        auto next = std::make_shared<LoggingController>("next", log);
        CompletionRecord done;
        drawer->setCenterViewControllerWithFullCloseAnimation(next, true, recorder(done));
        EXPECT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_EQ(*log,
            (Log { "center.willDisappear", "center.didDisappear", "center.didMoveNil", "next.willAppear",
                "next.didAppear", "next.didMove" }));
    }

    // Widths.

    TEST_F(DrawerControllerTest, MaximumWidthsReadZeroWithoutADrawerAndComeBackWithOne)
    {
        drawer = std::make_shared<kit::DrawerController>();
        EXPECT_EQ(drawer->maximumLeftDrawerWidth(), 0);
        drawer->setMaximumLeftDrawerWidth(200);
        drawer->setMaximumRightDrawerWidth(150);
        EXPECT_EQ(drawer->maximumLeftDrawerWidth(), 0);
        EXPECT_EQ(drawer->maximumRightDrawerWidth(), 0);
        drawer->setLeftDrawerViewController(left);
        EXPECT_EQ(drawer->maximumLeftDrawerWidth(), 200);
        EXPECT_EQ(drawer->maximumRightDrawerWidth(), 0);
        drawer->setRightDrawerViewController(right);
        EXPECT_EQ(drawer->maximumRightDrawerWidth(), 150);
        EXPECT_EQ(right->view()->frame(), (gfx::Rect { 170, 0, 150, 568 }));
    }

    TEST_F(DrawerControllerTest, WidthChangeOfTheOpenDrawerAnimatesTheCentre)
    {
        makeDrawer();
        drawer->openDrawerSide(DrawerSide::Left, false);
        turn();
        resetElapsed();
        CompletionRecord done;
        drawer->setMaximumLeftDrawerWidth(60, true, recorder(done));
        EXPECT_EQ(centerX(), 60);
        EXPECT_EQ(left->view()->frame(), (gfx::Rect { 0, 0, 60, 568 }));
        advance(200.0 / 840);
        ASSERT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_NEAR(done.times[0], 200.0 / 840, 1e-9);

        CompletionRecord closedSide;
        drawer->setMaximumRightDrawerWidth(100, true, recorder(closedSide));
        EXPECT_EQ(closedSide.flags, std::vector<bool> { true });
    }

    // Frames, shadow and the status-bar strip.

    TEST_F(DrawerControllerTest, VisibleDrawerFrameFollowsTheSideAndTheStatusBarStrip)
    {
        makeDrawer(true);
        auto stranger = std::make_shared<ui::ViewController>();
        EXPECT_EQ(kit::visibleDrawerFrame(*left), (gfx::Rect { 0, 0, 260, 568 }));
        EXPECT_EQ(kit::visibleDrawerFrame(*right), (gfx::Rect { 40, 0, 280, 568 }));
        EXPECT_TRUE(kit::visibleDrawerFrame(*center).isNull());
        EXPECT_TRUE(kit::visibleDrawerFrame(*stranger).isNull());
        EXPECT_EQ(kit::drawerControllerOf(*left), drawer);
        EXPECT_EQ(kit::drawerControllerOf(*stranger), nullptr);

        drawer->setShowsStatusBarBackgroundView(true);
        EXPECT_EQ(kit::visibleDrawerFrame(*left), (gfx::Rect { 0, 0, 260, 548 }));
        EXPECT_EQ(drawer->childControllerContainerView()->frame(), (gfx::Rect { 0, 20, 320, 548 }));
        EXPECT_FALSE(drawer->dummyStatusBarView()->isHidden());
        EXPECT_EQ(drawer->dummyStatusBarView()->frame(), (gfx::Rect { 0, 0, 320, 20 }));
        drawer->setShowsStatusBarBackgroundView(false);
        EXPECT_EQ(drawer->childControllerContainerView()->frame(), (gfx::Rect { 0, 0, 320, 568 }));
        EXPECT_TRUE(drawer->dummyStatusBarView()->isHidden());
    }

    TEST_F(DrawerControllerTest, ControllerInANavigationDrawerGetsTheDrawerFrame)
    {
        auto menu = std::make_shared<ui::ViewController>();
        drawer = kit::DrawerController::make(center, ui::NavigationController::withRootViewController(menu), nullptr);
        drawer->setMaximumLeftDrawerWidth(200);
        EXPECT_EQ(kit::drawerControllerOf(*menu), drawer);
        EXPECT_EQ(kit::visibleDrawerFrame(*menu), (gfx::Rect { 0, 0, 200, 568 }));
    }

    TEST_F(DrawerControllerTest, ShadowIsSetOnTheCentreAndTakenOffWhenHidden)
    {
        makeDrawer();
        const auto& layer = drawer->centerContainerView()->layer();
        EXPECT_FALSE(layer->shadowPath()) << "closed, the shadow would lie under the centre";
        drawer->openDrawerSide(DrawerSide::Left, true);
        EXPECT_FALSE(layer->masksToBounds()) << "the shadow shows as soon as the drawer starts to open";
        EXPECT_EQ(layer->shadowRadius(), 10);
        EXPECT_EQ(layer->shadowOpacity(), 0.8f);
        EXPECT_EQ(layer->shadowOffset(), (gfx::Size { 0, -3 }));
        EXPECT_EQ(layer->shadowColor(), gfx::Color::black());
        ASSERT_TRUE(layer->shadowPath());
        EXPECT_EQ(layer->shadowPath()->boundingBox(), (gfx::Rect { 0, 0, 320, 568 }));

        drawer->setShadowRadius(4);
        EXPECT_EQ(layer->shadowRadius(), 4);
        advance(1);
        drawer->closeDrawer(true);
        EXPECT_TRUE(layer->shadowPath()) << "it stays while the drawer closes";
        advance(1);
        EXPECT_FALSE(layer->shadowPath()) << "and goes once it has closed";
        drawer->openDrawerSide(DrawerSide::Left, false);

        drawer->setShowsShadow(false);
        EXPECT_TRUE(layer->masksToBounds());
        EXPECT_EQ(layer->shadowRadius(), 0);
        EXPECT_EQ(layer->shadowOpacity(), 0);
        EXPECT_FALSE(layer->shadowPath());
    }

    // Bounce preview.

    TEST_F(DrawerControllerTest, BouncePreviewShowsTheDrawerWithoutOpeningIt)
    {
        makeDrawer();
        CompletionRecord done;
        drawer->bouncePreviewForDrawerSide(DrawerSide::Left, recorder(done));
        EXPECT_FALSE(drawer->isAnimatingDrawer());
        EXPECT_FALSE(left->view()->isHidden());
        auto bounce = drawer->centerContainerView()->layer()->animationForKey("bouncing");
        ASSERT_TRUE(bounce);
        EXPECT_DOUBLE_EQ(bounce->duration(), 0.8);
        advance(0.8);
        turn();
        EXPECT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_EQ(*log, (Log { "left.willAppear", "left.didAppear", "left.willDisappear", "left.didDisappear" }));

        CompletionRecord refused;
        drawer->bouncePreviewForDrawerSide(DrawerSide::Right, recorder(refused));
        drawer->openDrawerSide(DrawerSide::Left, false);
        turn();
        drawer->bouncePreviewForDrawerSide(DrawerSide::Left, recorder(refused));
        EXPECT_EQ(refused.flags, (std::vector<bool> { false, false }));
    }

    // Restoration.

    TEST_F(DrawerControllerTest, RestorationCarriesTheChildrenAndOpensTheStoredSide)
    {
        makeDrawer();
        drawer->openDrawerSide(DrawerSide::Left, false);
        turn();
        ui::KeyedCoder coder;
        drawer->encodeRestorableState(coder);
        EXPECT_EQ(coder.decodeObject("DrawerLeftDrawer"), left);
        EXPECT_EQ(coder.decodeObject("DrawerCenter"), center);
        EXPECT_FALSE(coder.containsValue("DrawerRightDrawer"));
        EXPECT_EQ(coder.decodeInteger("DrawerOpenSide"), 1);

        drawer.reset();
        auto restored = std::make_shared<kit::DrawerController>();
        restored->decodeRestorableState(coder);
        EXPECT_EQ(restored->leftDrawerViewController(), left);
        EXPECT_EQ(restored->centerViewController(), center);
        EXPECT_EQ(restored->centerContainerView()->frame().minX(), 280);
        EXPECT_FALSE(restored->isAnimatingDrawer());
        turn();
        EXPECT_EQ(restored->openSide(), DrawerSide::Left);
    }

    TEST_F(DrawerControllerTest, RestorationIgnoresForeignSidesAndSidesWithoutADrawer)
    {
        for (int64_t side : { 3, -1, 2 }) {
            ui::KeyedCoder coder;
            coder.encodeObject(std::make_shared<ui::ViewController>(), "DrawerCenter");
            coder.encodeObject(std::make_shared<ui::ViewController>(), "DrawerLeftDrawer");
            coder.encodeInteger(side, "DrawerOpenSide");
            auto restored = std::make_shared<kit::DrawerController>();
            restored->decodeRestorableState(coder);
            turn();
            EXPECT_EQ(restored->openSide(), DrawerSide::None) << side;
            EXPECT_EQ(restored->centerContainerView()->frame().minX(), 0) << side;
            EXPECT_FALSE(restored->isAnimatingDrawer()) << side;
        }
    }

} // namespace
} // namespace test
