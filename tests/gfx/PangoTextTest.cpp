#include "gfx/drawing/Context.h"
#include "gfx/text/PangoTextMeasurer.h"
#include "gfx/text/TextMeasuring.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using gfx::Font;

namespace {

gfx::TextAttributes withFont(Font font)
{
    gfx::TextAttributes attributes;
    attributes.font = font;
    return attributes;
}

} // namespace

TEST(PangoTextMeasurer, MeasuresTheSameTextTheSameWay)
{
    gfx::TextMeasurer::Override real(std::make_shared<gfx::PangoTextMeasurer>());
    auto attributes = withFont(Font::system(16));
    gfx::Size first = gfx::sizeWithAttributes("Loading 你好", attributes);
    EXPECT_EQ(gfx::sizeWithAttributes("Loading 你好", attributes), first);
    EXPECT_GT(first.width, 50);
    EXPECT_GT(first.height, 14);
    EXPECT_LT(first.height, 30);
}

TEST(PangoTextMeasurer, LatinAndChineseBoldAndWrapping)
{
    gfx::TextMeasurer::Override real(std::make_shared<gfx::PangoTextMeasurer>());
    EXPECT_GT(gfx::sizeWithAttributes("设备", withFont(Font::system(14))).width, 20);
    EXPECT_GT(gfx::sizeWithAttributes("Settings", withFont(Font::boldSystem(14))).width,
        gfx::sizeWithAttributes("Settings", withFont(Font::system(14))).width);

    auto attributes = withFont(Font::system(14));
    std::string text = "The watch is out of reach of the network at the moment";
    gfx::Size oneLine = gfx::sizeWithAttributes(text, attributes);
    gfx::Rect wrapped
        = gfx::boundingRectWithSize(text, { 120, 1000 }, gfx::DrawingOptions::UsesLineFragmentOrigin, attributes);
    EXPECT_LE(wrapped.width(), 120);
    EXPECT_GT(wrapped.height(), 3 * oneLine.height - 0.01);
    gfx::Size old = gfx::sizeWithFont(text, Font::system(14), { 120, 1000 }, gfx::LineBreakMode::WordWrap);
    EXPECT_EQ(old.width, std::ceil(wrapped.width()));
    EXPECT_EQ(old.height, std::ceil(wrapped.height()));
}

// A word split by a wrap gets no hyphen: every line measures as its own characters do alone.
TEST(PangoTextMeasurer, WrapsSplitWordsWithoutHyphens)
{
    gfx::PangoTextMeasurer measurer;
    for (auto mode : { gfx::LineBreakMode::CharWrap, gfx::LineBreakMode::WordWrap }) {
        for (const char* word : { "English", "Science", "Mathematics" }) {
            SCOPED_TRACE(std::string(word) + (mode == gfx::LineBreakMode::CharWrap ? " by character" : " by word"));
            auto attributes = withFont(Font::system(14));
            attributes.paragraph.lineBreakMode = mode;
            std::string text = word;
            auto lines = measurer.lines(gfx::AttributedString(text, attributes), 40);
            ASSERT_GT(lines.size(), 1u);
            for (const gfx::TextLine& line : lines) {
                std::string part = text.substr(line.start, line.length);
                auto alone = measurer.lines(gfx::AttributedString(part, withFont(Font::system(14))), INFINITY);
                ASSERT_EQ(alone.size(), 1u);
                EXPECT_NEAR(line.width, alone[0].width, 0.5) << part;
            }
        }
    }
}

TEST(PangoTextMeasurer, InvalidUTF8IsMeasuredNotRejected)
{
    gfx::TextMeasurer::Override real(std::make_shared<gfx::PangoTextMeasurer>());
    EXPECT_GT(gfx::sizeWithAttributes(std::string("ab\xFF\xFE"
                                                  "cd"),
                  withFont(Font::system(12)))
                  .width,
        0);
}

TEST(PangoTextMeasurer, DrawnTextLandsInsideItsRectangle)
{
    auto c = gfx::Context::makeBitmap({ 120, 40 }, 2);
    gfx::TextAttributes attributes = withFont(Font::boldSystem(16));
    attributes.color = gfx::Color::red();
    attributes.paragraph.alignment = gfx::TextAlignment::Center;
    c->drawText(gfx::AttributedString("OK 好", attributes), { 0, 10, 120, 20 });
    auto pixels = *c->bitmap();
    int inked = 0;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            if (pixels.pixel(x, y) >> 24) {
                ++inked;
                EXPECT_GE(y, 18);
                EXPECT_GT(x, 60);
                EXPECT_LT(x, 180);
            }
    EXPECT_GT(inked, 50);
}

TEST(PangoTextMeasurer, EmojiDrawInTheirOwnColours)
{
    auto c = gfx::Context::makeBitmap({ 60, 40 }, 2);
    c->setFillColor(gfx::Color::white());
    c->fillRect({ 0, 0, 60, 40 });
    // Black text: any coloured pixel comes from the glyph itself.
    c->drawText(gfx::AttributedString("👍", withFont(Font::system(24))), { 10, 5, 50, 30 });
    auto pixels = *c->bitmap();
    int coloured = 0;
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            uint32_t p = pixels.pixel(x, y);
            int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (std::max({ r, g, b }) - std::min({ r, g, b }) > 80)
                ++coloured;
        }
    }
    EXPECT_GT(coloured, 200);
}
