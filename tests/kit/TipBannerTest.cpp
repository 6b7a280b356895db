#include "kit/overlay/TipAnimationView.h"

#include "OverlayTestFixture.h"
#include "ui/controls/Label.h"

namespace {

class TipBannerTest : public test::WidgetTest {
protected:
    std::shared_ptr<kit::TipAnimationView> bannerFromAbove()
    {
        auto tip = kit::TipAnimationView::makeWithIsToDown({ 0, -34, 320, 34 }, true, "3 devices", gfx::Color::green());
        window->addSubview(tip);
        return tip;
    }

    // Where the banner's top edge is drawn now.
    static double drawnTop(const kit::TipAnimationView& tip)
    {
        return tip.layer()->presentation().position.y - tip.bounds().height() / 2;
    }
};

TEST_F(TipBannerTest, SlidesInStaysThreeSecondsSlidesBackAndLeaves)
{
    auto tip = bannerFromAbove();
    EXPECT_EQ(tip->frame().minY(), 0);
    advance(0.2);
    EXPECT_NEAR(drawnTop(*tip), -17, 8);
    advance(0.2);
    EXPECT_NEAR(drawnTop(*tip), 0, 1e-9);
    advance(2.9);
    EXPECT_NEAR(drawnTop(*tip), 0, 1e-9);
    EXPECT_EQ(tip->frame().minY(), -34);
    advance(0.5);
    EXPECT_NEAR(drawnTop(*tip), -34, 1e-6);
    EXPECT_EQ(tip->superview(), window);
    advance(0.01);
    EXPECT_FALSE(tip->superview());
    EXPECT_TRUE(tip->isHidden());
}

TEST_F(TipBannerTest, BannerGoingUpSlidesByItsHeightTheOtherWay)
{
    auto tip = kit::TipAnimationView::makeWithIsToDown({ 0, 400, 320, 34 }, false, "End of replay", gfx::Color::blue());
    window->addSubview(tip);
    EXPECT_EQ(tip->frame().minY(), 366);
    // The slides last 0.4 s in single precision, a hair longer.
    advance(0.41);
    EXPECT_EQ(tip->frame().minY(), 400);
    advance(3.4);
    EXPECT_FALSE(tip->superview());
}

TEST_F(TipBannerTest, InterruptedSlideLeavesTheBannerWhereItIs)
{
    auto tip = bannerFromAbove();
    advance(0.2);
    ui::View::animateWithDuration(0.1, [&] { tip->setCenter({ 160, 40 }); });
    advance(5);
    EXPECT_EQ(tip->superview(), window);
    EXPECT_FALSE(tip->isHidden());
    EXPECT_EQ(tip->center(), (gfx::Point { 160, 40 }));
}

} // namespace
