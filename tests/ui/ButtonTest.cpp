#include "gfx/text/FixedTextMeasurer.h"
#include "ui/controls/Button.h"

#include <gtest/gtest.h>

namespace {

using ui::ControlState::Disabled;
using ui::ControlState::Highlighted;
using ui::ControlState::Normal;
using ui::ControlState::Selected;

std::shared_ptr<gfx::Image> imageOfSize(gfx::Size size) { return gfx::Context::makeBitmap(size, 1)->makeImage(); }

TEST(Button, StateWithNothingSetUsesWhatIsSetForNormal)
{
    auto button = ui::Button::buttonWithType(ui::ButtonType::Custom);
    auto normal = imageOfSize({ 10, 10 });
    auto pressed = imageOfSize({ 10, 10 });
    button->setTitle("Send", Normal);
    button->setTitle("Sending", Highlighted);
    button->setImage(normal, Normal);
    button->setImage(pressed, Selected);

    EXPECT_EQ(button->currentTitle(), "Send");
    button->setHighlighted(true);
    EXPECT_EQ(button->currentTitle(), "Sending");
    EXPECT_EQ(button->currentImage(), normal);
    EXPECT_EQ(button->titleLabel()->text(), "Sending");

    button->setHighlighted(false);
    button->setSelected(true);
    EXPECT_EQ(button->currentImage(), pressed);
    EXPECT_EQ(button->imageView()->image(), pressed);
    EXPECT_EQ(button->currentTitle(), "Send");
    EXPECT_EQ(button->titleForState(Highlighted | Selected), "Send") << "combined states fall back to normal";
}

TEST(Button, TitleColoursDependOnTheType)
{
    auto custom = ui::Button::buttonWithType(ui::ButtonType::Custom);
    EXPECT_EQ(custom->titleColorForState(Highlighted), gfx::Color::white());

    auto system = ui::Button::buttonWithType(ui::ButtonType::System);
    gfx::Color tint = ui::View::defaultTintColor();
    EXPECT_EQ(system->titleColorForState(Normal), tint);
    EXPECT_LT(system->titleColorForState(Highlighted).a, tint.a);
    EXPECT_NE(system->titleColorForState(Disabled), tint);
    system->setTitleColor(gfx::Color::red(), Normal);
    EXPECT_EQ(system->titleColorForState(Disabled), gfx::Color::red());
}

TEST(Button, ImageAndTitleSitSideBySideCentred)
{
    gfx::TextMeasurer::Override fixed(std::make_shared<gfx::FixedTextMeasurer>());
    auto button = std::make_shared<ui::Button>(gfx::Rect { 0, 0, 200, 44 });
    button->setImage(imageOfSize({ 20, 20 }), Normal);
    button->setTitle("Go", Normal); // 15 pt: 2 x 7.5 wide, 18.75 high, rounded up to 19
    button->layoutIfNeeded();

    EXPECT_EQ(button->imageView()->frame(), (gfx::Rect { 82.5, 12, 20, 20 }));
    EXPECT_EQ(button->titleLabel()->frame(), (gfx::Rect { 102.5, 12.5, 15, 19 }));
    EXPECT_EQ(button->sizeThatFits({}), (gfx::Size { 35, 20 }));
}

TEST(Button, ContentInsetsMoveTheImageAndTitleButNotTheBackground)
{
    gfx::TextMeasurer::Override fixed(std::make_shared<gfx::FixedTextMeasurer>());
    auto button = std::make_shared<ui::Button>(gfx::Rect { 0, 0, 200, 44 });
    button->setImage(imageOfSize({ 20, 20 }), Normal);
    button->setTitle("Go", Normal);
    button->setBackgroundImage(imageOfSize({ 10, 10 }), Normal);
    button->layoutIfNeeded();
    button->setContentEdgeInsets({ 4, 40, 0, 0 });
    EXPECT_EQ(button->contentEdgeInsets(), (gfx::EdgeInsets { 4, 40, 0, 0 }));
    button->layoutIfNeeded();

    // The content box is (40, 4, 160, 40): centred in it, 20 to the right and 2 down.
    EXPECT_EQ(button->imageView()->frame(), (gfx::Rect { 102.5, 14, 20, 20 }));
    EXPECT_EQ(button->titleLabel()->frame(), (gfx::Rect { 122.5, 14.5, 15, 19 }));
    EXPECT_EQ(button->sizeThatFits({}), (gfx::Size { 75, 24 }));
    // The background, the first part added, still fills the bounds.
    auto background = button->subviews().front();
    EXPECT_EQ(background->frame(), (gfx::Rect { 0, 0, 200, 44 }));
}

} // namespace
