#include "kit/widgets/TwoTitleButton.h"

#include "OverlayTestFixture.h"

namespace {

using TwoTitleButtonTest = test::WidgetTest;

TEST_F(TwoTitleButtonTest, TitleOverSubtitleEachInHalfTheHeight)
{
    auto day = kit::TwoTitleButton::make({ 0, 0, 40, 44 });
    window->addSubview(day);
    day->setTitle("Mon");
    day->setSubtitle("06-02");
    day->setTextColor(gfx::Color::red());
    turn();
    EXPECT_EQ(day->titleTextLabel()->frame(), (gfx::Rect { 0, 3, 40, 22 }));
    EXPECT_EQ(day->subtitleLabel()->frame(), (gfx::Rect { 0, 22, 40, 22 }));
    EXPECT_EQ(day->titleTextLabel()->text(), "Mon");
    EXPECT_EQ(day->subtitleLabel()->text(), "06-02");
    EXPECT_EQ(day->subtitleLabel()->textColor(), gfx::Color::red());
    EXPECT_EQ(day->titleTextLabel()->font(), gfx::Font::system(10));
    EXPECT_EQ(day->layer()->borderWidth(), 0.3f);
    EXPECT_EQ(day->layer()->borderColor(), gfx::Color::rgb(0.56, 0.56, 0.74));
    EXPECT_TRUE(day->layer()->masksToBounds());
}

TEST_F(TwoTitleButtonTest, NewTitleShowsAtTheNextLayoutPass)
{
    auto day = kit::TwoTitleButton::make({ 0, 0, 40, 44 });
    window->addSubview(day);
    day->setTitle("Mon");
    turn();
    day->setTitle("Tue");
    EXPECT_EQ(day->titleTextLabel()->text(), "Mon");
    day->setNeedsLayout();
    turn();
    EXPECT_EQ(day->titleTextLabel()->text(), "Tue");
}

} // namespace
