// Which drawn texts the cut-text watch hears of: a text shown whole is never reported; one shortened with an
// ellipsis, cut at a clipping width or missing lines is, once per drawing.
#include "gfx/text/CutTextWatch.h"
#include "gfx/drawing/Context.h"

#include <gtest/gtest.h>

namespace {

class CutTextWatchTest : public ::testing::Test {
protected:
    // Draws the text in the rectangle and returns what the watch heard.
    std::vector<std::string> draw(const std::string& text, gfx::LineBreakMode mode, gfx::Rect rect, int maxLines = 0)
    {
        std::vector<std::string> heard;
        gfx::CutTextWatch watch([&](const std::string& cut) { heard.push_back(cut); });
        gfx::TextAttributes attributes { gfx::Font::system(14), gfx::Color::black(),
            { gfx::TextAlignment::Left, mode } };
        context->drawText(gfx::AttributedString(text, attributes), rect, maxLines);
        return heard;
    }

    std::shared_ptr<gfx::Context> context = gfx::Context::makeBitmap({ 300, 200 }, 2);
    const std::string sentence = "The watch is out of reach of the network";
};

TEST_F(CutTextWatchTest, TextThatFitsIsNotReported)
{
    EXPECT_TRUE(draw(sentence, gfx::LineBreakMode::TruncateTail, { 0, 0, 300, 20 }).empty());
    EXPECT_TRUE(draw(sentence, gfx::LineBreakMode::Clip, { 0, 0, 300, 20 }).empty());
    EXPECT_TRUE(draw(sentence, gfx::LineBreakMode::WordWrap, { 0, 0, 120, 200 }).empty()) << "wrapped whole";
}

TEST_F(CutTextWatchTest, EllipsisClipAndLeftOutLinesAreReported)
{
    for (auto mode : { gfx::LineBreakMode::TruncateHead, gfx::LineBreakMode::TruncateMiddle,
             gfx::LineBreakMode::TruncateTail, gfx::LineBreakMode::Clip })
        EXPECT_EQ(draw(sentence, mode, { 0, 0, 80, 20 }), std::vector<std::string> { sentence })
            << static_cast<int>(mode);
    EXPECT_EQ(draw(sentence, gfx::LineBreakMode::WordWrap, { 0, 0, 120, 20 }).size(), 1u) << "too low";
    EXPECT_EQ(draw(sentence, gfx::LineBreakMode::WordWrap, { 0, 0, 120, 200 }, 2).size(), 1u) << "too few lines";
}

TEST_F(CutTextWatchTest, NothingIsHeardOnceTheWatchIsGone)
{
    std::vector<std::string> heard;
    {
        gfx::CutTextWatch watch([&](const std::string& cut) { heard.push_back(cut); });
    }
    gfx::TextAttributes attributes { gfx::Font::system(14), gfx::Color::black(),
        { gfx::TextAlignment::Left, gfx::LineBreakMode::TruncateTail } };
    context->drawText(gfx::AttributedString(sentence, attributes), { 0, 0, 40, 20 });
    EXPECT_TRUE(heard.empty());
}

} // namespace
