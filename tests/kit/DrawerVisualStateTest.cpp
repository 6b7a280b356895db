#include "DrawerFixture.h"

#include "kit/drawer/DrawerSetup.h"
#include "kit/drawer/DrawerVisualState.h"
#include "kit/drawer/DrawerVisualStateManager.h"

#include <cmath>
#include <numbers>

namespace test {
namespace {

    using kit::DrawerSide;
    using kit::DrawerVisualState;

    class DrawerVisualStateTest : public DrawerTest {
    protected:
        void SetUp() override
        {
            DrawerTest::SetUp();
            makeDrawer(true);
        }
        void TearDown() override
        {
            kit::DrawerVisualStateManager::shared().setLeftDrawerAnimationType(kit::DrawerAnimationType::Parallax);
            kit::DrawerVisualStateManager::shared().setRightDrawerAnimationType(kit::DrawerAnimationType::Parallax);
            DrawerTest::TearDown();
        }

        gfx::Transform3D apply(const kit::DrawerVisualStateBlock& block, DrawerSide side, double percent)
        {
            block(*drawer, side, percent);
            auto& controller = side == DrawerSide::Left ? left : right;
            return controller->view()->layer()->transform();
        }
    };

    // Parallax (factor 2, a 260-point left drawer and a 280-point right one).

    TEST_F(DrawerVisualStateTest, ParallaxMovesHalfAsFarAsTheCentre)
    {
        auto block = DrawerVisualState::parallaxVisualStateBlock(2.0);
        EXPECT_EQ(apply(block, DrawerSide::Left, 0), gfx::Transform3D::makeTranslation(-130, 0, 0));
        EXPECT_EQ(apply(block, DrawerSide::Left, 0.5), gfx::Transform3D::makeTranslation(-65, 0, 0));
        EXPECT_TRUE(apply(block, DrawerSide::Left, 1).isIdentity());
        EXPECT_EQ(apply(block, DrawerSide::Right, 0), gfx::Transform3D::makeTranslation(140, 0, 0));
        EXPECT_TRUE(apply(block, DrawerSide::Right, 1).isIdentity());
    }

    TEST_F(DrawerVisualStateTest, StretchScalesAndMovesByHalfTheGrowthBeforeScaling)
    {
        auto block = DrawerVisualState::parallaxVisualStateBlock(2.0);
        gfx::Transform3D stretched = apply(block, DrawerSide::Left, 1.05);
        EXPECT_DOUBLE_EQ(stretched.m11, 1.05);
        // The translation of 0.05 x 260 / 2 = 6.5 points runs before the scale.
        EXPECT_NEAR(stretched.m41, 1.05 * 6.5, 1e-9);
        gfx::Transform3D rightStretched = apply(block, DrawerSide::Right, 1.1);
        EXPECT_NEAR(rightStretched.m41, 1.1 * -14, 1e-9);
    }

    TEST_F(DrawerVisualStateTest, SlideMovesWithTheCentre)
    {
        auto block = DrawerVisualState::slideVisualStateBlock();
        EXPECT_EQ(apply(block, DrawerSide::Left, 0), gfx::Transform3D::makeTranslation(-260, 0, 0));
        EXPECT_EQ(apply(block, DrawerSide::Left, 0.5), gfx::Transform3D::makeTranslation(-130, 0, 0));
        EXPECT_TRUE(apply(block, DrawerSide::Left, 1).isIdentity());
    }

    TEST_F(DrawerVisualStateTest, SlideAndScaleGrowsFromNinetyPercentAndFadesIn)
    {
        auto block = DrawerVisualState::slideAndScaleVisualStateBlock();
        gfx::Transform3D closed = apply(block, DrawerSide::Left, 0);
        EXPECT_DOUBLE_EQ(closed.m11, 0.9);
        EXPECT_DOUBLE_EQ(closed.m33, 0.9);
        EXPECT_DOUBLE_EQ(closed.m41, 50);
        EXPECT_DOUBLE_EQ(left->view()->alpha(), 0);

        gfx::Transform3D half = apply(block, DrawerSide::Left, 0.5);
        EXPECT_DOUBLE_EQ(half.m11, 0.95);
        EXPECT_DOUBLE_EQ(half.m41, 25);
        EXPECT_DOUBLE_EQ(left->view()->alpha(), 0.5);

        EXPECT_TRUE(apply(block, DrawerSide::Left, 1).isIdentity());
        EXPECT_DOUBLE_EQ(left->view()->alpha(), 1);
        EXPECT_DOUBLE_EQ(apply(block, DrawerSide::Right, 0).m41, -50);
        EXPECT_DOUBLE_EQ(apply(block, DrawerSide::Left, 1.2).m11, 1.02);
    }

    TEST_F(DrawerVisualStateTest, SwingingDoorTurnsAboutTheOuterEdge)
    {
        auto block = DrawerVisualState::swingingDoorVisualStateBlock();
        gfx::Transform3D closed = apply(block, DrawerSide::Left, 0);
        const auto& layer = left->view()->layer();
        EXPECT_EQ(layer->anchorPoint(), (gfx::Point { 1.0, 0.5 }));
        EXPECT_TRUE(layer->shouldRasterize());
        EXPECT_EQ(layer->rasterizationScale(), 2);
        // A quarter turn about y (sin -pi/2 in m13), seen in perspective, moved half the width left.
        EXPECT_NEAR(closed.m13, 1, 1e-12);
        EXPECT_NEAR(closed.m14, -0.001, 1e-12);
        EXPECT_NEAR(closed.m41, -130, 1e-9);

        gfx::Transform3D half = apply(block, DrawerSide::Left, 0.5);
        EXPECT_NEAR(half.m13, std::sin(std::numbers::pi / 4), 1e-12);
        EXPECT_NEAR(half.m41, 0, 1e-9);

        gfx::Transform3D open = apply(block, DrawerSide::Left, 1);
        EXPECT_NEAR(open.m13, 0, 1e-12);
        EXPECT_DOUBLE_EQ(open.m34, -0.001);
        EXPECT_DOUBLE_EQ(open.m41, 130);

        gfx::Transform3D stretched = apply(block, DrawerSide::Left, 1.1);
        EXPECT_DOUBLE_EQ(stretched.m11, 1.1);
        EXPECT_NEAR(stretched.m41, 1.1 * 130, 1e-9);

        gfx::Transform3D rightClosed = apply(block, DrawerSide::Right, 0);
        EXPECT_EQ(right->view()->layer()->anchorPoint(), (gfx::Point { 0.0, 0.5 }));
        EXPECT_NEAR(rightClosed.m13, -1, 1e-12);
        EXPECT_NEAR(rightClosed.m41, 140, 1e-9);
    }

    TEST_F(DrawerVisualStateTest, PlainBlockLeavesTheDrawerUntilStretched)
    {
        auto block = DrawerVisualState::plainVisualStateBlock();
        EXPECT_TRUE(apply(block, DrawerSide::Left, 0).isIdentity());
        EXPECT_TRUE(apply(block, DrawerSide::Left, 1).isIdentity());
        EXPECT_NEAR(apply(block, DrawerSide::Left, 1.1).m41, 1.1 * 13, 1e-9);
        EXPECT_NEAR(apply(block, DrawerSide::Right, 1.1).m41, 1.1 * -14, 1e-9);
    }

    TEST_F(DrawerVisualStateTest, BlocksWithoutADrawerChangeNothing)
    {
        drawer->setRightDrawerViewController(nullptr);
        for (const auto& block :
            { DrawerVisualState::parallaxVisualStateBlock(2.0), DrawerVisualState::slideAndScaleVisualStateBlock(),
                DrawerVisualState::swingingDoorVisualStateBlock(), DrawerVisualState::plainVisualStateBlock() }) {
            block(*drawer, DrawerSide::Right, 0.3);
            block(*drawer, DrawerSide::None, 0.3);
        }
        EXPECT_TRUE(right->view()->layer()->transform().isIdentity());
        EXPECT_TRUE(left->view()->layer()->transform().isIdentity());
        EXPECT_EQ(left->view()->alpha(), 1);
    }

    // The manager.

    TEST_F(DrawerVisualStateTest, ManagerStartsWithParallaxAndGivesOtherSidesTheRightType)
    {
        auto& manager = kit::DrawerVisualStateManager::shared();
        EXPECT_EQ(manager.leftDrawerAnimationType(), kit::DrawerAnimationType::Parallax);
        EXPECT_EQ(apply(manager.drawerVisualStateBlockForDrawerSide(DrawerSide::Left), DrawerSide::Left, 0),
            gfx::Transform3D::makeTranslation(-130, 0, 0));

        manager.setRightDrawerAnimationType(kit::DrawerAnimationType::Slide);
        EXPECT_EQ(apply(manager.drawerVisualStateBlockForDrawerSide(DrawerSide::None), DrawerSide::Left, 0),
            gfx::Transform3D::makeTranslation(-260, 0, 0));
        manager.setLeftDrawerAnimationType(kit::DrawerAnimationType::SlideAndScale);
        EXPECT_DOUBLE_EQ(
            apply(manager.drawerVisualStateBlockForDrawerSide(DrawerSide::Left), DrawerSide::Left, 0).m11, 0.9);
        manager.setLeftDrawerAnimationType(kit::DrawerAnimationType::SwingingDoor);
        apply(manager.drawerVisualStateBlockForDrawerSide(DrawerSide::Left), DrawerSide::Left, 0);
        EXPECT_EQ(left->view()->layer()->anchorPoint(), (gfx::Point { 1.0, 0.5 }));

        for (int type : { 0, 5 }) {
            manager.setLeftDrawerAnimationType(static_cast<kit::DrawerAnimationType>(type));
            EXPECT_TRUE(apply(manager.drawerVisualStateBlockForDrawerSide(DrawerSide::Left), DrawerSide::Left, 0.5)
                            .isIdentity());
        }
    }

    // The container's own stretch and reset, without a block.

    TEST_F(DrawerVisualStateTest, WithoutABlockTheContainerOnlyStretches)
    {
        drawer->updateDrawerVisualState(DrawerSide::Left, 0.5);
        EXPECT_TRUE(left->view()->layer()->transform().isIdentity());
        drawer->updateDrawerVisualState(DrawerSide::Left, 1.1);
        EXPECT_NEAR(left->view()->layer()->transform().m41, 1.1 * 13, 1e-9);
        drawer->resetDrawerVisualState(DrawerSide::Left);
        EXPECT_TRUE(left->view()->layer()->transform().isIdentity());

        drawer->setShouldStretchDrawer(false);
        drawer->updateDrawerVisualState(DrawerSide::Left, 1.1);
        EXPECT_TRUE(left->view()->layer()->transform().isIdentity());
    }

    TEST_F(DrawerVisualStateTest, OpeningAnimatesTheDrawerFromItsClosedStateAndResetsIt)
    {
        drawer->setDrawerVisualStateBlock(DrawerVisualState::parallaxVisualStateBlock(2.0));
        drawer->openDrawerSide(DrawerSide::Left, true);
        // The model is already open; what is drawn starts from the closed state.
        auto drawn = left->view()->layer()->presentation().transform;
        EXPECT_NEAR(drawn.m41, -130, 1e-9);
        advance(1);
        EXPECT_TRUE(left->view()->layer()->transform().isIdentity());
        EXPECT_EQ(left->view()->layer()->anchorPoint(), (gfx::Point { 0.5, 0.5 }));
    }

    // The application's container.

    TEST_F(DrawerVisualStateTest, ApplicationContainerHasTheApplicationsSettings)
    {
        auto menu = std::make_shared<ui::ViewController>();
        auto home = std::make_shared<ui::ViewController>();
        auto appDrawer = kit::makeApplicationDrawerController(home, menu);
        EXPECT_EQ(appDrawer->centerViewController(), home);
        EXPECT_EQ(appDrawer->leftDrawerViewController(), menu);
        EXPECT_EQ(appDrawer->rightDrawerViewController(), nullptr);
        EXPECT_EQ(appDrawer->maximumLeftDrawerWidth(), 260);
        EXPECT_EQ(appDrawer->openDrawerGestureModeMask(), 26u);
        EXPECT_EQ(appDrawer->closeDrawerGestureModeMask(), 254u);
        EXPECT_TRUE(appDrawer->showsShadow());
        EXPECT_EQ(appDrawer->restorationIdentifier(), "Drawer");
        ASSERT_TRUE(appDrawer->drawerVisualState());
        appDrawer->updateDrawerVisualState(DrawerSide::Left, 0);
        EXPECT_EQ(menu->view()->layer()->transform(), gfx::Transform3D::makeTranslation(-130, 0, 0));
    }

} // namespace
} // namespace test
