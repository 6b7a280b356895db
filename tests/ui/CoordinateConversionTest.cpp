#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

#include <cmath>
#include <numbers>

using gfx::AffineTransform;
using gfx::Point;
using gfx::Rect;

namespace {

class CoordinateConversion : public test::UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        window = std::make_shared<ui::Window>();
        content = std::make_shared<ui::View>(Rect(0, 64, 320, 400));
        item = std::make_shared<ui::View>(Rect(20, 100, 100, 50));
        window->addSubview(content);
        content->addSubview(item);
    }
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::View> content;
    std::shared_ptr<ui::View> item;
};

void expectNear(Point a, Point b)
{
    EXPECT_NEAR(a.x, b.x, 1e-9);
    EXPECT_NEAR(a.y, b.y, 1e-9);
}

} // namespace

TEST_F(CoordinateConversion, ScrolledBoundsOriginShiftsTheSubviews)
{
    // A scroll offset of 30 is a bounds origin of (0, 30): the item moves up by 30 on screen.
    content->setBounds({ 0, 30, 320, 400 });
    expectNear(item->convertPointTo({ 0, 0 }, nullptr), { 20, 134 });
    expectNear(item->convertPointFrom({ 20, 134 }, window.get()), { 0, 0 });
    expectNear(content->convertPointFrom({ 0, 64 }, nullptr), { 0, 30 });
    EXPECT_EQ(item->convertRectTo(item->bounds(), nullptr), Rect(20, 134, 100, 50));
}

TEST_F(CoordinateConversion, TransformsApplyAboutTheCentreBothWays)
{
    item->setTransform(AffineTransform::makeScale(2, 2));
    // The item's centre (70, 125) stays; its top left goes twice as far from it.
    expectNear(item->convertPointTo({ 0, 0 }, content.get()), { -30, 75 });
    expectNear(item->convertPointFrom({ -30, 75 }, content.get()), { 0, 0 });

    item->setTransform(AffineTransform::makeRotation(std::numbers::pi / 2));
    expectNear(item->convertPointTo({ 100, 25 }, content.get()), { 70, 175 });
    expectNear(item->convertPointFrom({ 70, 175 }, content.get()), { 100, 25 });
}

TEST_F(CoordinateConversion, BetweenSiblingBranchesGoesThroughTheCommonAncestor)
{
    auto other = std::make_shared<ui::View>(Rect(200, 10, 50, 50));
    window->addSubview(other);
    expectNear(item->convertPointTo({ 0, 0 }, other.get()), { -180, 154 });
    Rect back = other->convertRectTo({ -180, 154, 10, 10 }, item.get());
    EXPECT_NEAR(back.minX(), 0, 1e-9);
    EXPECT_NEAR(back.minY(), 0, 1e-9);
}

TEST_F(CoordinateConversion, IntoASingularTransformGivesNoPointAndNoRectangle)
{
    item->setTransform(AffineTransform::makeScale(0, 0));
    Point p = item->convertPointFrom({ 50, 50 }, window.get());
    EXPECT_TRUE(std::isinf(p.x) && std::isinf(p.y));
    EXPECT_FALSE(item->bounds().contains(p));
    EXPECT_TRUE(item->convertRectFrom({ 0, 0, 10, 10 }, window.get()).isNull());
    // Out of it still works: everything collapses onto its centre.
    expectNear(item->convertPointTo({ 0, 0 }, content.get()), { 70, 125 });
}

TEST_F(CoordinateConversion, WindowsConvertThroughTheScreen)
{
    auto lower = std::make_shared<ui::Window>(Rect(0, 100, 320, 200));
    auto child = std::make_shared<ui::View>(Rect(10, 10, 10, 10));
    lower->addSubview(child);
    expectNear(child->convertPointTo({ 0, 0 }, item.get()), { -10, -54 });
    // Without a window, nullptr means the top of the view's own tree.
    auto loose = std::make_shared<ui::View>(Rect(5, 5, 100, 100));
    auto inner = std::make_shared<ui::View>(Rect(10, 10, 10, 10));
    loose->addSubview(inner);
    expectNear(inner->convertPointTo({ 0, 0 }, nullptr), { 10, 10 });
}
