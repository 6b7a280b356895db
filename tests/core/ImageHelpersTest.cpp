#include "core/helpers/ImageHelpers.h"
#include "gfx/drawing/Context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr uint32_t red = 0xFFFF0000u;
constexpr uint32_t green = 0xFF00FF00u;
constexpr uint32_t blue = 0xFF0000FFu;
constexpr uint32_t white = 0xFFFFFFFFu;
constexpr double quarterTurn = std::numbers::pi / 2;

// Rectangles of colour on a transparent bitmap of `size` points at `scale`.
std::shared_ptr<gfx::Image> painted(
    gfx::Size size, double scale, std::initializer_list<std::pair<gfx::Rect, gfx::Color>> areas)
{
    auto context = gfx::Context::makeBitmap(size, scale);
    for (const auto& [rect, colour] : areas) {
        context->setFillColor(colour);
        context->fillRect(rect);
    }
    return context->makeImage();
}

// 20 x 20 points in four quarters: red top left, green top right, blue bottom left, white bottom right.
std::shared_ptr<gfx::Image> quarters(double scale = 1)
{
    return painted({ 20, 20 }, scale,
        { { { 0, 0, 10, 10 }, gfx::Color::red() }, { { 10, 0, 10, 10 }, gfx::Color::green() },
            { { 0, 10, 10, 10 }, gfx::Color::blue() }, { { 10, 10, 10, 10 }, gfx::Color::white() } });
}

TEST(ImageHelpers, AQuarterTurnMovesEachCornerClockwise)
{
    auto turned = core::rotateImageWithRadian(*quarters(), quarterTurn, true);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->pixelWidth(), 20);
    EXPECT_EQ(turned->pixelHeight(), 20);
    EXPECT_EQ(turned->pixel(15, 5), red);
    EXPECT_EQ(turned->pixel(15, 15), green);
    EXPECT_EQ(turned->pixel(5, 5), blue);
    EXPECT_EQ(turned->pixel(5, 15), white);
}

TEST(ImageHelpers, WithoutCropModeTheResultHoldsTheWholeTurnedImage)
{
    // 40 x 10: red left half, blue right half.
    auto wide = painted(
        { 40, 10 }, 2, { { { 0, 0, 20, 10 }, gfx::Color::red() }, { { 20, 0, 20, 10 }, gfx::Color::blue() } });
    auto standing = core::rotateImageWithRadian(*wide, quarterTurn, false);
    ASSERT_TRUE(standing);
    EXPECT_EQ(standing->scale(), 2);
    EXPECT_EQ(standing->size(), (gfx::Size { 10, 40 }));
    EXPECT_EQ(standing->pixel(10, 5), red) << "the left end is now at the top";
    EXPECT_EQ(standing->pixel(10, 75), blue);

    // In crop mode the same turn keeps 40 x 10 and only the middle band survives.
    auto cropped = core::rotateImageWithRadian(*wide, quarterTurn, true);
    EXPECT_EQ(cropped->size(), (gfx::Size { 40, 10 }));
    EXPECT_EQ(cropped->pixel(5, 10) >> 24, 0u);
    EXPECT_EQ(cropped->pixel(40, 2), red);
    EXPECT_EQ(cropped->pixel(40, 17), blue);
}

TEST(ImageHelpers, AnEighthTurnGrowsTheBoxAndLeavesTheCornersClear)
{
    auto turned = core::rotateImageWithRadian(*quarters(), quarterTurn / 2, false);
    ASSERT_TRUE(turned);
    // The diagonal of 20 points: 28.28, rounded up to whole pixels.
    EXPECT_EQ(turned->pixelWidth(), 29);
    EXPECT_EQ(turned->pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(turned->pixel(14, 4), red) << "the top-left quarter has turned to the top";
    EXPECT_FALSE(core::rotateImageWithRadian(*quarters(), std::nan(""), false));
}

TEST(ImageHelpers, ScalingAndCroppingCoversTheSizeAndCutsTheOverflowEvenly)
{
    // 40 x 20: red, green, blue bands of 10, 20 and 10 points.
    auto bands = painted({ 40, 20 }, 1,
        { { { 0, 0, 10, 20 }, gfx::Color::red() }, { { 10, 0, 20, 20 }, gfx::Color::green() },
            { { 30, 0, 10, 20 }, gfx::Color::blue() } });

    auto square = core::imageByScalingAndCroppingForSize(*bands, { 20, 20 });
    ASSERT_TRUE(square);
    EXPECT_EQ(square->size(), (gfx::Size { 20, 20 }));
    EXPECT_EQ(square->pixel(0, 0), green) << "the side bands are cut off";
    EXPECT_EQ(square->pixel(19, 19), green);

    auto wide = core::imageByScalingAndCroppingForSize(*bands, { 80, 20 });
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->size(), (gfx::Size { 80, 20 }));
    EXPECT_EQ(wide->pixel(5, 0), red);
    EXPECT_EQ(wide->pixel(40, 19), green);
    EXPECT_EQ(wide->pixel(75, 10), blue);

    auto small = core::imageByScalingAndCroppingForSize(*bands, { 8, 4 });
    EXPECT_EQ(small->pixel(0, 2), red);
    EXPECT_EQ(small->pixel(4, 2), green);
    EXPECT_EQ(small->pixel(7, 2), blue);
    EXPECT_FALSE(core::imageByScalingAndCroppingForSize(*bands, { 0, 10 }));
}

} // namespace
