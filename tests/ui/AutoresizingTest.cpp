#include "ui/view/Autoresizing.h"
#include "ui/view/View.h"
#include "ui/view/ViewTypes.h"

#include "UITestFixture.h"

using gfx::Rect;
namespace mask = ui::AutoresizingMask;

TEST(Autoresizing, FlexibleSizeTakesTheWholeChange)
{
    EXPECT_EQ(ui::autoresizedFrame(
                  { 0, 0, 320, 460 }, mask::FlexibleWidth | mask::FlexibleHeight, { 320, 460 }, { 320, 480 }),
        Rect(0, 0, 320, 480));
    EXPECT_EQ(ui::autoresizedFrame({ 10, 0, 300, 44 }, mask::FlexibleWidth, { 320, 460 }, { 480, 300 }),
        Rect(10, 0, 460, 44));
}

TEST(Autoresizing, DrawersKeepTheirWidthAndStretchTheirHeight)
{
    // Left drawer: flexible right margin and height; right drawer: flexible left margin and height.
    Rect left = ui::autoresizedFrame(
        { 0, 0, 260, 460 }, mask::FlexibleRightMargin | mask::FlexibleHeight, { 320, 460 }, { 480, 480 });
    EXPECT_EQ(left, Rect(0, 0, 260, 480));
    Rect right = ui::autoresizedFrame(
        { 60, 0, 260, 460 }, mask::FlexibleLeftMargin | mask::FlexibleHeight, { 320, 460 }, { 480, 480 });
    EXPECT_EQ(right, Rect(220, 0, 260, 480));
}

TEST(Autoresizing, FlexibleMarginsShareTheChangeAndKeepACentredViewCentred)
{
    unsigned allMargins
        = mask::FlexibleLeftMargin | mask::FlexibleRightMargin | mask::FlexibleTopMargin | mask::FlexibleBottomMargin;
    EXPECT_EQ(
        ui::autoresizedFrame({ 110, 190, 100, 100 }, allMargins, { 320, 480 }, { 320, 568 }), Rect(110, 234, 100, 100));
    // Margins of 10 and 30 take a change of 40 as 10 and 30.
    EXPECT_EQ(ui::autoresizedFrame(
                  { 10, 0, 280, 10 }, mask::FlexibleLeftMargin | mask::FlexibleRightMargin, { 320, 10 }, { 360, 10 }),
        Rect(20, 0, 280, 10));
    // A top margin alone moves the view by the whole change.
    EXPECT_EQ(ui::autoresizedFrame({ 0, 400, 320, 80 }, mask::FlexibleTopMargin, { 320, 480 }, { 320, 568 }),
        Rect(0, 488, 320, 80));
    // Zero margins share evenly.
    EXPECT_EQ(ui::autoresizedFrame(
                  { 0, 0, 320, 10 }, mask::FlexibleLeftMargin | mask::FlexibleRightMargin, { 320, 10 }, { 340, 10 }),
        Rect(10, 0, 320, 10));
}

class AutoresizingViews : public test::UITest { };

TEST_F(AutoresizingViews, AppliedWhenTheSuperviewChangesSizeOnly)
{
    auto parent = std::make_shared<ui::View>(Rect(0, 0, 320, 460));
    auto fill = std::make_shared<ui::View>(Rect(0, 0, 320, 460));
    auto fixed = std::make_shared<ui::View>(Rect(10, 10, 50, 50));
    fill->setAutoresizingMask(mask::FlexibleWidth | mask::FlexibleHeight);
    parent->addSubview(fill);
    parent->addSubview(fixed);

    parent->setFrame({ 0, 20, 320, 460 });
    EXPECT_EQ(fill->frame(), Rect(0, 0, 320, 460));
    parent->setFrame({ 0, 0, 320, 480 });
    EXPECT_EQ(fill->frame(), Rect(0, 0, 320, 480));
    EXPECT_EQ(fixed->frame(), Rect(10, 10, 50, 50));

    parent->setAutoresizesSubviews(false);
    parent->setBounds({ 0, 0, 100, 100 });
    EXPECT_EQ(fill->frame(), Rect(0, 0, 320, 480));
}
