#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

#include <cmath>
#include <numbers>

using gfx::AffineTransform;
using gfx::Point;
using gfx::Rect;

namespace {

constexpr double pi = std::numbers::pi;

class ViewGeometry : public test::UITest { };

void expectNear(Point a, Point b)
{
    EXPECT_NEAR(a.x, b.x, 1e-9);
    EXPECT_NEAR(a.y, b.y, 1e-9);
}

void expectNear(const Rect& a, const Rect& b)
{
    EXPECT_NEAR(a.minX(), b.minX(), 1e-9);
    EXPECT_NEAR(a.minY(), b.minY(), 1e-9);
    EXPECT_NEAR(a.width(), b.width(), 1e-9);
    EXPECT_NEAR(a.height(), b.height(), 1e-9);
}

} // namespace

TEST_F(ViewGeometry, FrameBoundsAndCentreFollowEachOther)
{
    auto view = std::make_shared<ui::View>(Rect(10, 20, 100, 50));
    EXPECT_EQ(view->bounds(), Rect(0, 0, 100, 50));
    EXPECT_EQ(view->center(), (Point { 60, 45 }));

    view->setCenter({ 0, 0 });
    EXPECT_EQ(view->frame(), Rect(-50, -25, 100, 50));

    // Bounds keep the centre; their origin moves what the view shows, not where it is.
    view->setBounds({ 30, 40, 20, 10 });
    EXPECT_EQ(view->frame(), Rect(-10, -5, 20, 10));
    EXPECT_EQ(view->center(), (Point { 0, 0 }));
}

TEST_F(ViewGeometry, AnchorPointChangeKeepsPositionAndMovesTheFrame)
{
    auto view = std::make_shared<ui::View>(Rect(0, 0, 100, 40));
    view->layer()->setAnchorPoint({ 0, 0 });
    EXPECT_EQ(view->layer()->position(), (Point { 50, 20 }));
    EXPECT_EQ(view->frame(), Rect(50, 20, 100, 40));

    // With the anchor at the top left, setting the frame puts the position at the frame's origin.
    view->setFrame({ 5, 6, 10, 10 });
    EXPECT_EQ(view->layer()->position(), (Point { 5, 6 }));
}

TEST_F(ViewGeometry, TransformAppliesAboutTheCentreAndTheFrameIsTheBoundingBox)
{
    auto view = std::make_shared<ui::View>(Rect(0, 0, 100, 40));
    view->setTransform(AffineTransform::makeScale(2, 0.5));
    expectNear(view->frame(), Rect(-50, 10, 200, 20));
    EXPECT_EQ(view->bounds(), Rect(0, 0, 100, 40));

    view->setTransform(AffineTransform::makeRotation(pi / 2));
    expectNear(view->frame(), Rect(30, -30, 40, 100));
}

TEST_F(ViewGeometry, SettingTheFrameUnderAScaleDividesTheSizeByTheScale)
{
    auto view = std::make_shared<ui::View>(Rect(0, 0, 100, 100));
    view->setTransform(AffineTransform::makeScale(2, 4));
    view->setFrame({ 0, 0, 320, 480 });
    EXPECT_EQ(view->bounds().size, (gfx::Size { 160, 120 }));
    expectNear(view->center(), { 160, 240 });
    expectNear(view->frame(), Rect(0, 0, 320, 480));
}

TEST_F(ViewGeometry, SettingTheFrameUnderARotationKeepsTheSizeAndCentresIt)
{
    auto view = std::make_shared<ui::View>(Rect(0, 0, 100, 40));
    view->setTransform(AffineTransform::makeRotation(pi / 4));
    view->setFrame({ 0, 0, 300, 300 });
    EXPECT_EQ(view->bounds().size, (gfx::Size { 100, 40 }));
    expectNear(view->center(), { 150, 150 });
}

TEST_F(ViewGeometry, SingularScaleKeepsTheSizeWhenTheFrameIsSet)
{
    auto view = std::make_shared<ui::View>(Rect(0, 0, 100, 40));
    view->setTransform(AffineTransform::makeScale(0, 0));
    EXPECT_EQ(view->frame().size, (gfx::Size { 0, 0 }));
    view->setFrame({ 10, 10, 50, 50 });
    EXPECT_EQ(view->bounds().size, (gfx::Size { 100, 40 }));
    expectNear(view->center(), { 35, 35 });
}

TEST_F(ViewGeometry, SizeToFitKeepsTheOriginAndTakesTheFittingSize)
{
    class Fitting : public ui::View {
    public:
        using ui::View::View;
        gfx::Size sizeThatFits(gfx::Size limit) const override { return { limit.width / 2, 17 }; }
    };
    auto view = std::make_shared<Fitting>(Rect(10, 10, 200, 100));
    view->sizeToFit();
    EXPECT_EQ(view->frame(), Rect(10, 10, 100, 17));
    auto plain = std::make_shared<ui::View>(Rect(1, 2, 3, 4));
    plain->sizeToFit();
    EXPECT_EQ(plain->frame(), Rect(1, 2, 3, 4));
}
