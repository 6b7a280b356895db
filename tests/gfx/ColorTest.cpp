#include "gfx/drawing/Color.h"

#include <gtest/gtest.h>

using gfx::Color;

TEST(Color, GreyLevelsAndNamedColours)
{
    EXPECT_EQ(Color::fromWhite(0.9, 0.5), Color::rgb(0.9, 0.9, 0.9, 0.5));
    EXPECT_EQ(Color::gray(), Color::fromWhite(0.5, 1));
    EXPECT_EQ(Color::red(), Color::rgb(1, 0, 0));
    EXPECT_EQ(Color::clear().a, 0);
    EXPECT_EQ(Color::black().withAlpha(0.8), Color::rgb(0, 0, 0, 0.8));
}

TEST(Color, PremultipliedPixelWords)
{
    EXPECT_EQ(Color::red().premultipliedARGB(), 0xFFFF0000u);
    EXPECT_EQ(Color::white().withAlpha(0.5).premultipliedARGB(), 0x80808080u);
    EXPECT_EQ(Color::rgb(0, 1, 0, 0.2).premultipliedARGB(), 0x33003300u);
    EXPECT_EQ(Color::clear().premultipliedARGB(), 0u);
    // Out-of-range components are clamped rather than wrapped.
    EXPECT_EQ(Color::rgb(2, -1, 0.5, 1.5).premultipliedARGB(), 0xFFFF0080u);
}

TEST(Color, PixelWordsConvertBack)
{
    Color c = Color::fromPremultipliedARGB(0x80402000u);
    EXPECT_NEAR(c.a, 128 / 255.0, 1e-12);
    EXPECT_NEAR(c.r, 0.5, 1e-12);
    EXPECT_NEAR(c.g, 0.25, 1e-12);
    EXPECT_EQ(Color::fromPremultipliedARGB(0x00FFFFFFu), Color::clear());
    Color original = Color::rgb(0.2, 0.6, 1.0, 1);
    EXPECT_EQ(
        Color::fromPremultipliedARGB(original.premultipliedARGB()).premultipliedARGB(), original.premultipliedARGB());
}
