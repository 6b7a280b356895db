#include "DrawerFixture.h"

#include "kit/drawer/DrawerVisualState.h"
#include "ui/controllers/NavigationController.h"
#include "ui/input/PanGestureRecognizer.h"
#include "ui/input/TapGestureRecognizer.h"

namespace test {
namespace {

    using kit::DrawerSide;
    namespace Open = kit::OpenDrawerGestureMode;
    namespace Close = kit::CloseDrawerGestureMode;

    constexpr unsigned applicationOpenMask = 26;
    constexpr unsigned applicationCloseMask = 254;

    class DrawerGestureTest : public DrawerTest {
    protected:
        // A container whose centre is a navigation controller (its bar at the top of the centre).
        void makeNavigationDrawer(bool withRight = false)
        {
            center->setTitle("Home");
            navigation = ui::NavigationController::withRootViewController(center);
            drawer = kit::DrawerController::make(navigation, left, withRight ? right : nullptr);
            drawer->view()->setFrame(window->bounds());
            window->addSubview(drawer->view());
            drawer->setMaximumLeftDrawerWidth(260);
            drawer->setOpenDrawerGestureModeMask(applicationOpenMask);
            drawer->setCloseDrawerGestureModeMask(applicationCloseMask);
            turn();
            log->clear();
        }

        void openLeft()
        {
            drawer->openDrawerSide(DrawerSide::Left, false);
            turn();
        }

        ui::Touch touchAt(gfx::Point point) { return ui::Touch(window, window, point, clock->now()); }
        unsigned openModes(ui::GestureRecognizer& recognizer, gfx::Point point)
        {
            return drawer->possibleOpenGestureModes(recognizer, touchAt(point));
        }
        unsigned closeModes(ui::GestureRecognizer& recognizer, gfx::Point point)
        {
            return drawer->possibleCloseGestureModes(recognizer, touchAt(point));
        }

        // Drags the finger from `from` to `to` in small steps, holds it still long enough for the velocity to
        // fall to zero, and lifts it.
        void slowDrag(gfx::Point from, gfx::Point to)
        {
            finger.down(from).moveTo(to, base::Duration(0.5), 25).wait(base::Duration(0.2)).up();
        }

        std::shared_ptr<ui::NavigationController> navigation;
        ui::PanGestureRecognizer pan;
        ui::TapGestureRecognizer tap;
    };

    // Regions and mode bits.

    TEST_F(DrawerGestureTest, OpenModesFollowTheRegionsOfTheTouch)
    {
        makeNavigationDrawer(true);
        EXPECT_EQ(openModes(pan, { 160, 40 }), Open::NavigationBarPan);
        EXPECT_EQ(openModes(pan, { 160, 300 }), Open::CenterPan);
        EXPECT_EQ(openModes(pan, { 10, 300 }), Open::CenterPan | Open::BezelPan);
        EXPECT_EQ(openModes(pan, { 310, 300 }), Open::CenterPan | Open::BezelPan);
        // A tap never opens, except through the custom test.
        EXPECT_EQ(openModes(tap, { 10, 300 }), 0u);

        drawer->setRightDrawerViewController(nullptr);
        EXPECT_EQ(openModes(pan, { 310, 300 }), Open::CenterPan);
    }

    TEST_F(DrawerGestureTest, CloseModesFollowTheRegionsOfTheTouch)
    {
        makeNavigationDrawer();
        openLeft();
        // The centre now lies at 260..320: its bar on top, its content below, the drawer to the left.
        EXPECT_EQ(closeModes(pan, { 290, 40 }), Close::NavigationBarPan);
        EXPECT_EQ(closeModes(pan, { 280, 300 }), Close::CenterPan);
        EXPECT_EQ(closeModes(pan, { 310, 300 }), Close::CenterPan | Close::BezelPan);
        EXPECT_EQ(closeModes(pan, { 100, 300 }), Close::DrawerPan);
        EXPECT_EQ(closeModes(tap, { 290, 40 }), Close::NavigationBarTap);
        EXPECT_EQ(closeModes(tap, { 280, 300 }), Close::CenterTap);
        EXPECT_EQ(closeModes(tap, { 100, 300 }), 0u);
        // The left strip lies on the drawer, not on the centre.
        EXPECT_FALSE(drawer->isPointContainedWithinLeftBezelRect({ 10, 300 }));
    }

    TEST_F(DrawerGestureTest, WithTheRightDrawerOpenTheLeftStripCloses)
    {
        makeDrawer(true);
        drawer->openDrawerSide(DrawerSide::Right, false);
        turn();
        EXPECT_EQ(closeModes(pan, { 10, 300 }), Close::CenterPan | Close::BezelPan);
        EXPECT_EQ(closeModes(pan, { 300, 300 }), Close::DrawerPan);

        int asked = 0;
        drawer->setGestureShouldRecognizeTouchBlock(
            [&](kit::DrawerController&, ui::GestureRecognizer&, const ui::Touch&) { return ++asked > 0; });
        EXPECT_EQ(closeModes(tap, { 300, 300 }), 0u);
        drawer->setCloseDrawerGestureModeMask(Close::CustomTest);
        EXPECT_EQ(closeModes(tap, { 300, 300 }), Close::CustomTest);
        EXPECT_EQ(asked, 1);
    }

    TEST_F(DrawerGestureTest, CustomTestIsAskedOnlyWhenItsBitIsInTheMask)
    {
        makeDrawer();
        int asked = 0;
        drawer->setGestureShouldRecognizeTouchBlock(
            [&](kit::DrawerController&, ui::GestureRecognizer&, const ui::Touch&) { return ++asked > 0; });
        drawer->setOpenDrawerGestureModeMask(Open::BezelPan);
        EXPECT_EQ(openModes(tap, { 160, 300 }), 0u);
        EXPECT_EQ(asked, 0);
        drawer->setOpenDrawerGestureModeMask(Open::CustomTest);
        EXPECT_EQ(openModes(tap, { 160, 300 }), Open::CustomTest);
        EXPECT_TRUE(drawer->gestureRecognizerShouldReceiveTouch(tap, touchAt({ 160, 300 })));
        EXPECT_EQ(asked, 2);
    }

    TEST_F(DrawerGestureTest, WithoutANavigationControllerThereIsNoNavigationRect)
    {
        makeDrawer();
        EXPECT_FALSE(drawer->isPointContainedWithinNavigationRect({ 160, 40 }));
        EXPECT_EQ(openModes(pan, { 160, 40 }), Open::CenterPan);
    }

    // Opening and closing by finger with the application's masks.

    TEST_F(DrawerGestureTest, ApplicationMasksOpenFromTheBarOrTheEdgeButNotTheMiddle)
    {
        makeNavigationDrawer();
        slowDrag({ 100, 300 }, { 250, 300 });
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_EQ(centerX(), 0);

        slowDrag({ 100, 40 }, { 250, 40 });
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_EQ(centerX(), 260);

        drawer->closeDrawer(false);
        turn();
        slowDrag({ 5, 300 }, { 200, 300 });
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
    }

    TEST_F(DrawerGestureTest, DragFollowsTheFingerAndAppearsTheDrawerAtOnce)
    {
        makeNavigationDrawer();
        finger.down({ 5, 300 }).moveTo({ 105, 300 }, base::Duration(0.2), 10);
        EXPECT_EQ(centerX(), 100);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_EQ(*log, (Log { "left.willAppear", "left.didAppear" }));
        EXPECT_FALSE(drawer->view()->isUserInteractionEnabled());
        EXPECT_FALSE(drawer->startingPanRect().isNull());
        finger.wait(base::Duration(0.2)).up();
        EXPECT_TRUE(drawer->startingPanRect().isNull());
        EXPECT_TRUE(drawer->view()->isUserInteractionEnabled());
    }

    TEST_F(DrawerGestureTest, SlowReleaseSettlesByPosition)
    {
        makeNavigationDrawer();
        slowDrag({ 5, 300 }, { 145, 300 }); // x = 140: past half of 260
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_EQ(centerX(), 260);

        drawer->closeDrawer(false);
        turn();
        slowDrag({ 5, 300 }, { 125, 300 }); // x = 120
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_EQ(centerX(), 0);
    }

    TEST_F(DrawerGestureTest, FlickSettlesByDirectionAtTheFlickSpeed)
    {
        makeDrawer();
        openLeft();
        drawer->centerContainerView()->setFrame(drawer->centerContainerView()->frame().offsetBy(-60, 0)); // x = 200
        resetElapsed();
        CompletionRecord done;
        drawer->finishAnimationForPanGesture(-201, recorder(done));
        // At least twice the threshold: 200 points at 400 points per second.
        advance(0.5);
        ASSERT_EQ(done.flags, std::vector<bool> { true });
        EXPECT_NEAR(done.times[0], 0.5, 1e-9);
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
    }

    TEST_F(DrawerGestureTest, ThresholdSpeedAndTheHalfWayPointFallToOpen)
    {
        makeDrawer();
        openLeft();
        drawer->centerContainerView()->setFrame(drawer->centerContainerView()->frame().offsetBy(-130, 0)); // x = 130
        drawer->finishAnimationForPanGesture(-200, {});
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_EQ(centerX(), 260);

        drawer->centerContainerView()->setFrame(drawer->centerContainerView()->frame().offsetBy(-250, 0)); // x = 10
        drawer->finishAnimationForPanGesture(201, {});
        advance(1);
        EXPECT_EQ(centerX(), 260);
    }

    TEST_F(DrawerGestureTest, RightSideSettlesTheMirroredWay)
    {
        makeDrawer(true);
        drawer->openDrawerSide(DrawerSide::Right, false);
        turn();
        // Right drawer 280 wide: half way is a centre maximum x of 180.
        drawer->centerContainerView()->setFrame(drawer->centerContainerView()->frame().offsetBy(141, 0));
        drawer->finishAnimationForPanGesture(0, {});
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);

        drawer->openDrawerSide(DrawerSide::Right, false);
        turn();
        drawer->finishAnimationForPanGesture(-201, {});
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Right);
        drawer->finishAnimationForPanGesture(201, {});
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
    }

    TEST_F(DrawerGestureTest, EndingWithNothingUncoveredReportsNo)
    {
        makeDrawer();
        CompletionRecord done;
        drawer->finishAnimationForPanGesture(500, recorder(done));
        EXPECT_EQ(done.flags, std::vector<bool> { false });
    }

    TEST_F(DrawerGestureTest, RubberBandHoldsTheCentreNearTheDrawerWidth)
    {
        makeDrawer();
        // 320-point centre, 260-point drawer: the band starts 4.5 points out and never passes 9.
        EXPECT_EQ(drawer->roundedOriginXForDrawerConstraints(200), 200);
        EXPECT_EQ(drawer->roundedOriginXForDrawerConstraints(262), 262);
        EXPECT_EQ(drawer->roundedOriginXForDrawerConstraints(300), 266);
        EXPECT_EQ(drawer->roundedOriginXForDrawerConstraints(100000), 269);
        // No right drawer: held at its zero width.
        EXPECT_EQ(drawer->roundedOriginXForDrawerConstraints(-50), 0);

        drawer->setShouldStretchDrawer(false);
        EXPECT_EQ(drawer->roundedOriginXForDrawerConstraints(300), 260);

        drawer->setShouldStretchDrawer(true);
        drawer->setRightDrawerViewController(right);
        drawer->setMaximumRightDrawerWidth(260);
        EXPECT_EQ(drawer->roundedOriginXForDrawerConstraints(-100000), -269);
    }

    TEST_F(DrawerGestureTest, DraggingPastTheMiddleSwapsToTheOtherDrawer)
    {
        makeDrawer(true);
        drawer->setCloseDrawerGestureModeMask(applicationCloseMask);
        openLeft();
        log->clear();
        finger.down({ 280, 300 }).moveTo({ 0, 300 }, base::Duration(0.3), 15);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Right);
        EXPECT_EQ(centerX(), -20);
        EXPECT_EQ(*log, (Log { "left.willDisappear", "left.didDisappear", "right.willAppear", "right.didAppear" }));
        EXPECT_TRUE(left->view()->isHidden());
        EXPECT_FALSE(right->view()->isHidden());
        finger.up();
        advance(1);
    }

    TEST_F(DrawerGestureTest, TapOnTheUncoveredCentreCloses)
    {
        makeDrawer();
        drawer->setCloseDrawerGestureModeMask(Close::CenterTap);
        int completions = 0;
        drawer->setGestureCompletionBlock([&](kit::DrawerController&, ui::GestureRecognizer&) { ++completions; });
        openLeft();
        finger.tap({ 290, 300 });
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_EQ(completions, 1);

        drawer->setCloseDrawerGestureModeMask(0);
        openLeft();
        finger.tap({ 290, 300 });
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_EQ(completions, 1);
    }

    TEST_F(DrawerGestureTest, APanStartedWhileSettlingIsDroppedAndTheNextOneWorks)
    {
        makeDrawer();
        drawer->setOpenDrawerGestureModeMask(Open::BezelPan);
        drawer->setCloseDrawerGestureModeMask(applicationCloseMask);
        int completions = 0;
        drawer->setGestureCompletionBlock([&](kit::DrawerController&, ui::GestureRecognizer&) { ++completions; });
        // A quick swipe open; the drawer settles for a while.
        finger.down({ 5, 300 }).moveTo({ 100, 300 }, base::Duration(0.05), 2).up();
        EXPECT_TRUE(drawer->isAnimatingDrawer());
        // A second swipe during the settling is not followed.
        finger.down({ 300, 300 }).moveTo({ 200, 300 }, base::Duration(0.02), 2);
        EXPECT_EQ(centerX(), 260);
        finger.up();
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_EQ(centerX(), 260);

        // The pan was not left switched off: the drawer still closes by finger.
        slowDrag({ 300, 300 }, { 100, 300 });
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::None);
        EXPECT_GE(completions, 2);
    }

    TEST_F(DrawerGestureTest, RotationCancelsADragAndReachesTheChildren)
    {
        makeDrawer();
        drawer->setOpenDrawerGestureModeMask(Open::BezelPan);
        drawer->setDrawerVisualStateBlock(kit::DrawerVisualState::parallaxVisualStateBlock(2.0));
        finger.down({ 5, 300 }).moveTo({ 105, 300 }, base::Duration(0.2), 10);
        EXPECT_FALSE(left->view()->layer()->transform().isIdentity());
        log->clear();

        drawer->willRotateToInterfaceOrientation(ui::InterfaceOrientation::Portrait, 0.3);
        EXPECT_TRUE(left->view()->layer()->transform().isIdentity());
        EXPECT_TRUE(drawer->startingPanRect().isNull());
        // The cancelled drag settles like a released one: moving right at 500 points per second, it opens.
        EXPECT_TRUE(drawer->isAnimatingDrawer());
        EXPECT_EQ(*log, (Log { "left.willRotate", "center.willRotate" }));
        finger.moveTo({ 10, 300 }).up();
        advance(1);
        EXPECT_EQ(drawer->openSide(), DrawerSide::Left);
        EXPECT_EQ(centerX(), 260);

        drawer->willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation::Portrait, 0.3);
        auto transition = drawer->centerContainerView()->layer()->animationForKey("transition");
        ASSERT_TRUE(transition);
        EXPECT_DOUBLE_EQ(transition->duration(), 0.3);
    }

    // The centre's touch filter.

    TEST_F(DrawerGestureTest, CentreTakesTouchesWhileOpenAsTheModeSays)
    {
        makeNavigationDrawer();
        const auto& container = drawer->centerContainerView();
        gfx::Point onBar { 160, 40 };
        gfx::Point onContent { 160, 300 };
        EXPECT_NE(container->hitTest(onContent, nullptr), nullptr);
        openLeft();

        EXPECT_NE(container->hitTest(onBar, nullptr), nullptr);
        EXPECT_EQ(container->hitTest(onContent, nullptr), nullptr);

        drawer->setCenterHiddenInteractionMode(kit::CenterInteractionMode::Blocked);
        EXPECT_EQ(container->hitTest(onBar, nullptr), nullptr);

        drawer->setCenterHiddenInteractionMode(kit::CenterInteractionMode::Full);
        EXPECT_EQ(container->hitTest(onContent, nullptr), center->view());
    }

    TEST_F(DrawerGestureTest, CentreWithoutANavigationBarTakesNothingInBarMode)
    {
        makeDrawer();
        openLeft();
        EXPECT_EQ(drawer->centerContainerView()->hitTest({ 160, 40 }, nullptr), nullptr);
        EXPECT_EQ(drawer->centerContainerView()->hitTest({ 160, 300 }, nullptr), nullptr);
    }

} // namespace
} // namespace test
