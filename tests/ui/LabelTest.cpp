#include "ui/controls/Label.h"
#include "gfx/text/FixedTextMeasurer.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/ImageView.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

class LabelMetrics : public testing::Test {
protected:
    // 10-point text: 5 points a character, 12.5 a line.
    gfx::TextMeasurer::Override fixed { std::make_shared<gfx::FixedTextMeasurer>() };

    std::shared_ptr<ui::Label> label(const gfx::Rect& frame, std::string text, int lines)
    {
        auto l = std::make_shared<ui::Label>(frame);
        l->setFont(gfx::Font::system(10));
        l->setText(std::move(text));
        l->setNumberOfLines(lines);
        return l;
    }
};

TEST_F(LabelMetrics, SingleLineSizeToFitIsTheWholeTextRoundedUp)
{
    auto l = label({ 10, 10, 20, 5 }, "Loading...", 1);
    l->setFont(gfx::Font::system(9)); // 4.5 a character, 11.25 a line
    l->sizeToFit();
    EXPECT_EQ(l->frame(), (gfx::Rect { 10, 10, 45, 12 }));
}

TEST_F(LabelMetrics, MultiLineSizeToFitWrapsAtTheCurrentWidth)
{
    auto l = label({ 0, 0, 60, 0 }, "one two three four five", 0);
    l->sizeToFit();
    EXPECT_EQ(l->frame().size, (gfx::Size { 50, 38 })) << "'one two', 'three four', 'five': 3 lines of 12.5";

    auto limited = label({ 0, 0, 60, 0 }, "one two three four five six", 2);
    EXPECT_EQ(limited->sizeThatFits({ 60, 0 }).height, 25);
}

TEST_F(LabelMetrics, TextIsCentredVerticallyAndEmptyTextMeasuresNothing)
{
    auto l = label({ 0, 0, 100, 40 }, "Hi", 1);
    EXPECT_EQ(l->textRectForBounds(l->bounds()), (gfx::Rect { 0, 13.75, 100, 12.5 }));
    l->setText("");
    EXPECT_EQ(l->sizeThatFits({ 100, 40 }), (gfx::Size { 0, 0 }));
}

TEST_F(LabelMetrics, LabelsTakeNoTouchesByDefault)
{
    ui::Label l;
    EXPECT_FALSE(l.isUserInteractionEnabled());
}

TEST(ActivityIndicatorView, HiddenWhileStoppedAndSizedByStyle)
{
    auto spinner = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
    EXPECT_EQ(spinner->bounds().size, (gfx::Size { 37, 37 }));
    EXPECT_TRUE(spinner->isHidden()) << "made stopped";
    spinner->startAnimating();
    EXPECT_FALSE(spinner->isHidden());
    spinner->stopAnimating();
    EXPECT_TRUE(spinner->isHidden());

    spinner->setCenter({ 100, 100 });
    spinner->setStyle(ui::ActivityIndicatorViewStyle::Gray);
    EXPECT_EQ(spinner->frame(), (gfx::Rect { 90, 90, 20, 20 }));
    spinner->setHidesWhenStopped(false);
    EXPECT_FALSE(spinner->isHidden());
}

TEST(ImageView, MadeWithAnImageTakesItsPointSize)
{
    auto image = gfx::Context::makeBitmap({ 30, 20 }, 2)->makeImage();
    auto view = std::make_shared<ui::ImageView>(image);
    EXPECT_EQ(view->frame(), (gfx::Rect { 0, 0, 30, 20 }));
    EXPECT_EQ(view->layer()->contents(), image);
    view->setImage(nullptr);
    EXPECT_EQ(view->sizeThatFits({}), (gfx::Size { 0, 0 }));
}

} // namespace

TEST(ActivityIndicatorView, WheelsOfOneLookDrawAlikeAndAColourOfItsOwnIsDrawnInIt)
{
    auto pixelsOf = [](ui::ActivityIndicatorView& spinner) {
        spinner.setHidesWhenStopped(false);
        auto context = gfx::Context::makeBitmap(spinner.bounds().size, 2);
        spinner.setNeedsDisplay();
        spinner.layer()->renderInContext(*context);
        auto pixels = context->bitmap();
        std::vector<uint32_t> words;
        for (int y = 0; y < pixels->height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(pixels->row(y));
            words.insert(words.end(), row, row + pixels->width);
        }
        return words;
    };
    auto first = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
    auto second = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
    auto drawn = pixelsOf(*first);
    EXPECT_EQ(pixelsOf(*second), drawn);
    // The brightest spoke points up from the centre (18.5, 18.5), between 8 and 16 points from it.
    const size_t topSpoke = 10 * 74 + 37;
    EXPECT_EQ(drawn[topSpoke], 0xFFFFFFFFu);

    second->setColor(gfx::Color::red());
    EXPECT_EQ(pixelsOf(*second)[topSpoke], 0xFFFF0000u);
    EXPECT_EQ(pixelsOf(*first), drawn);
}
