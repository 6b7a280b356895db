#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

using gfx::Rect;

namespace {

class HitTest : public test::UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        root = std::make_shared<ui::View>(Rect(0, 0, 300, 300));
        back = std::make_shared<ui::View>(Rect(0, 0, 200, 200));
        front = std::make_shared<ui::View>(Rect(100, 100, 200, 200));
        root->addSubview(back);
        root->addSubview(front);
    }
    std::shared_ptr<ui::View> hit(double x, double y) { return root->hitTest({ x, y }, nullptr); }

    std::shared_ptr<ui::View> root;
    std::shared_ptr<ui::View> back;
    std::shared_ptr<ui::View> front;
};

} // namespace

TEST_F(HitTest, FrontMostSubviewWinsAndEdgesAreHalfOpen)
{
    EXPECT_EQ(hit(150, 150), front);
    EXPECT_EQ(hit(50, 50), back);
    EXPECT_EQ(hit(250, 50), root);
    EXPECT_EQ(hit(300, 10), nullptr);
    EXPECT_EQ(hit(199.5, 99.5), back);
}

TEST_F(HitTest, HiddenTransparentAndNonInteractiveViewsAreSkipped)
{
    front->setHidden(true);
    EXPECT_EQ(hit(150, 150), back);
    front->setHidden(false);
    front->setAlpha(0.01);
    EXPECT_EQ(hit(150, 150), back);
    front->setAlpha(0.011);
    EXPECT_EQ(hit(150, 150), front);
    front->setUserInteractionEnabled(false);
    EXPECT_EQ(hit(150, 150), back);
    // A non-interactive view hides its subviews from touches too.
    root->setUserInteractionEnabled(false);
    EXPECT_EQ(hit(50, 50), nullptr);
}

TEST_F(HitTest, SubviewsOutsideTheirSuperviewAreNotReached)
{
    auto outside = std::make_shared<ui::View>(Rect(180, 0, 100, 50));
    back->addSubview(outside);
    EXPECT_EQ(hit(190, 10), outside);
    EXPECT_EQ(hit(250, 10), root);
}

TEST_F(HitTest, OverridesCanWidenTheTargetAndCallTheDefault)
{
    class Generous : public ui::View {
    public:
        using ui::View::View;
        bool pointInside(gfx::Point p, const ui::Event* e) const override
        {
            return bounds().insetBy(-20, -20).contains(p) || ui::View::pointInside(p, e);
        }
    };
    auto small = std::make_shared<Generous>(Rect(250, 250, 10, 10));
    root->addSubview(small);
    EXPECT_EQ(hit(240, 240), small);
}

TEST_F(HitTest, ScaledAndSingularTransformsAreHonoured)
{
    front->setTransform(gfx::AffineTransform::makeScale(0.5, 0.5));
    EXPECT_EQ(hit(120, 120), back);
    EXPECT_EQ(hit(160, 160), front);
    front->setTransform(gfx::AffineTransform::makeScale(0, 0));
    EXPECT_EQ(hit(200, 200), root);
}
