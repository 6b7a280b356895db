#include "gfx/text/TextMeasuring.h"
#include "gfx/text/FixedTextMeasurer.h"

#include <gtest/gtest.h>

using gfx::Font;
using gfx::LineBreakMode;
using gfx::Size;

namespace {

constexpr unsigned wrapped = gfx::DrawingOptions::UsesLineFragmentOrigin;

gfx::TextAttributes font10()
{
    gfx::TextAttributes attributes;
    attributes.font = Font::system(10);
    return attributes;
}

// Every test here measures with fixed metrics: at 10 points a character is 5 wide and a line 12.5 high.
class FixedMetrics : public ::testing::Test {
    gfx::TextMeasurer::Override m_fixed { std::make_shared<gfx::FixedTextMeasurer>() };
};

} // namespace

TEST_F(FixedMetrics, NewerCallsAreFractionalOlderOnesRoundUp)
{
    EXPECT_EQ(gfx::sizeWithAttributes("Hello", font10()), (Size { 25, 12.5 }));
    EXPECT_EQ(gfx::sizeWithFont("Hello", Font::system(10)), (Size { 25, 13 }));
    EXPECT_EQ(gfx::sizeWithFont("Hello", Font::system(10), { 1000, 1000 }, LineBreakMode::WordWrap), (Size { 25, 13 }));
}

TEST_F(FixedMetrics, EmptyTextMeasuresNothing)
{
    EXPECT_EQ(gfx::sizeWithAttributes("", font10()), (Size { 0, 0 }));
    EXPECT_EQ(gfx::sizeWithFont("", Font::boldSystem(18)), (Size { 0, 0 }));
    EXPECT_EQ(gfx::boundingRectWithSize("", { 100, 100 }, wrapped, font10()), gfx::Rect(0, 0, 0, 0));
}

TEST_F(FixedMetrics, BoundingRectWrapsWordsAtTheWidthOnlyWhenAsked)
{
    EXPECT_EQ(gfx::boundingRectWithSize("aaa bbb ccc", { 40, 1000 }, wrapped, font10()), gfx::Rect(0, 0, 35, 25));
    EXPECT_EQ(gfx::boundingRectWithSize("aaa bbb ccc", { 40, 1000 }, 0, font10()), gfx::Rect(0, 0, 55, 12.5));
}

TEST_F(FixedMetrics, HeightLimitKeepsWholeLinesAndAlwaysTheFirst)
{
    unsigned options = wrapped | gfx::DrawingOptions::UsesFontLeading | gfx::DrawingOptions::TruncatesLastVisibleLine;
    EXPECT_EQ(gfx::boundingRectWithSize("aaa bbb ccc ddd", { 40, 30 }, options, font10()).size, (Size { 35, 25 }));
    EXPECT_EQ(gfx::boundingRectWithSize("aaa bbb ccc ddd", { 40, 5 }, options, font10()).size, (Size { 35, 12.5 }));
    gfx::AttributedString text("aaa bbb ccc ddd", font10());
    EXPECT_EQ(gfx::measureText(text, { 40, 1000, 1 }), (Size { 35, 12.5 }));
}

TEST_F(FixedMetrics, LongWordsSplitBetweenCharacters)
{
    EXPECT_EQ(
        gfx::sizeWithFont("abcdefghij", Font::system(10), { 22, 1000 }, LineBreakMode::WordWrap), (Size { 20, 38 }));
    EXPECT_EQ(gfx::sizeWithFont("ab cd", Font::system(10), { 12, 1000 }, LineBreakMode::CharWrap), (Size { 10, 25 }));
}

TEST_F(FixedMetrics, TruncatingModesKeepOneLinePerParagraph)
{
    EXPECT_EQ(gfx::sizeWithFont("aaa bbb ccc", Font::system(10), { 40, 1000 }, LineBreakMode::TruncateTail),
        (Size { 40, 13 }));
    EXPECT_EQ(gfx::sizeWithFont("aaa\nb", Font::system(10), { 40, 1000 }, LineBreakMode::Clip), (Size { 15, 25 }));
}

TEST_F(FixedMetrics, CharactersAreCodePointsAndLineBreaksStartLines)
{
    EXPECT_EQ(gfx::sizeWithAttributes("你好", font10()), (Size { 10, 12.5 }));
    EXPECT_EQ(gfx::sizeWithAttributes("a\nbb", font10()), (Size { 10, 25 }));
    EXPECT_EQ(gfx::sizeWithAttributes("a\n", font10()), (Size { 5, 25 }));
    EXPECT_EQ(gfx::sizeWithAttributes("ab  ", font10()), (Size { 20, 12.5 }));
    EXPECT_EQ(gfx::boundingRectWithSize("ab   cd", { 12, 100 }, wrapped, font10()).size, (Size { 10, 25 }));
}

TEST_F(FixedMetrics, AttributedRunsMeasureWithTheirOwnFonts)
{
    gfx::AttributedString text("ab", font10());
    gfx::TextAttributes big;
    big.font = Font::boldSystem(20);
    text.append("cd", big);
    EXPECT_EQ(gfx::boundingRectWithSize(text, { 1000, 1000 }, wrapped).size, (Size { 30, 25 }));
}

TEST(Font, NamesMapOntoInstalledFamiliesAndNeverFail)
{
    EXPECT_TRUE(Font::named("Helvetica-Bold", 15).isBold());
    EXPECT_EQ(Font::named("Helvetica-Bold", 15).name(), "Helvetica-Bold");
    EXPECT_FALSE(Font::named("HelveticaNeue", 20).isBold());
    EXPECT_FALSE(Font::named("Avenir-Medium", 12).isBold());
    EXPECT_TRUE(Font::named("Avenir-Heavy", 12).isBold());
    Font unknown = Font::named("NoSuchFont-Bold", 13);
    EXPECT_EQ(unknown, Font::system(13));
    EXPECT_TRUE(Font::boldSystem(16).isBold());
    EXPECT_EQ(Font::systemFontSize(), 14);
}
