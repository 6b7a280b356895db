#include "gfx/drawing/Context.h"

#include <gtest/gtest.h>

namespace {

// A 5 x 5 image in three bands each way: two cap pixels, the middle line, two cap pixels. Red tells the
// column band (0, 128, 255), green the row band.
std::shared_ptr<gfx::Image> banded(double scale)
{
    auto band = [](int i) { return i < 2 ? 0u : i == 2 ? 128u : 255u; };
    std::vector<uint32_t> words(25);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x)
            words[size_t(y * 5 + x)] = 0xFF000000u | band(x) << 16 | band(y) << 8;
    }
    gfx::PixelBuffer pixels { reinterpret_cast<uint8_t*>(words.data()), 5, 5, 20 };
    return gfx::Image::fromPixels(pixels, scale);
}

uint32_t drawnAt(const gfx::Image& image, gfx::Size canvas, int x, int y)
{
    auto context = gfx::Context::makeBitmap(canvas, 1);
    context->drawImage(image, { 0, 0, canvas.width, canvas.height });
    return context->bitmap()->pixel(x, y);
}

uint32_t colour(uint32_t red, uint32_t green) { return 0xFF000000u | red << 16 | green << 8; }

TEST(StretchableImage, KeepsTheCapsAndStretchesTheMiddleLine)
{
    auto image = banded(1)->stretchableImage(2, 2);
    ASSERT_TRUE(image->isStretchable());
    gfx::Size canvas { 30, 20 };
    EXPECT_EQ(drawnAt(*image, canvas, 0, 0), colour(0, 0));
    EXPECT_EQ(drawnAt(*image, canvas, 1, 1), colour(0, 0)) << "the corner keeps its size";
    EXPECT_EQ(drawnAt(*image, canvas, 4, 1), colour(128, 0)) << "the stretch starts right after the cap";
    EXPECT_EQ(drawnAt(*image, canvas, 15, 10), colour(128, 128));
    EXPECT_EQ(drawnAt(*image, canvas, 25, 15), colour(128, 128));
    EXPECT_EQ(drawnAt(*image, canvas, 28, 10), colour(255, 128)) << "the far cap keeps its size";
    EXPECT_EQ(drawnAt(*image, canvas, 29, 19), colour(255, 255));
    EXPECT_EQ(drawnAt(*image, canvas, 10, 18), colour(128, 255));
}

TEST(StretchableImage, ACapOfZeroStretchesTheWholeAxis)
{
    auto image = banded(1)->stretchableImage(2, 0);
    gfx::Size canvas { 30, 50 };
    // Rows scale as a plain image would: each source row covers ten destination rows.
    EXPECT_EQ(drawnAt(*image, canvas, 0, 5), colour(0, 0));
    EXPECT_EQ(drawnAt(*image, canvas, 15, 5), colour(128, 0));
    EXPECT_EQ(drawnAt(*image, canvas, 29, 45), colour(255, 255));
    EXPECT_EQ(drawnAt(*image, canvas, 1, 45), colour(0, 255)) << "the left cap keeps its width";
}

TEST(StretchableImage, CapsAreInPointsAtTheImagesScale)
{
    // At scale 2 the 5-pixel image is 2.5 points; a cap of 1 point is 2 pixels.
    auto image = banded(2)->stretchableImage(1, 1);
    auto context = gfx::Context::makeBitmap({ 20, 20 }, 2);
    context->drawImage(*image, { 0, 0, 20, 20 });
    EXPECT_EQ(context->bitmap()->pixel(1, 1), colour(0, 0));
    EXPECT_EQ(context->bitmap()->pixel(20, 20), colour(128, 128));
    EXPECT_EQ(context->bitmap()->pixel(38, 38), colour(255, 255));
}

TEST(StretchableImage, ARectSmallerThanTheCapsShrinksThemAndDrawsNothingOutside)
{
    auto image = banded(1)->stretchableImage(2, 2);
    auto context = gfx::Context::makeBitmap({ 10, 10 }, 1);
    context->drawImage(*image, { 0, 0, 2, 2 });
    EXPECT_EQ(context->bitmap()->pixel(0, 0), colour(0, 0));
    EXPECT_EQ(context->bitmap()->pixel(1, 1), colour(255, 255));
    EXPECT_EQ(context->bitmap()->pixel(3, 3), 0u);
}

TEST(StretchableImage, CapsAreCutToTheImageAndThePixelsAreShared)
{
    auto plain = banded(1);
    EXPECT_FALSE(plain->isStretchable());
    auto image = plain->stretchableImage(100, -3);
    EXPECT_EQ(image->leftCapWidth(), 5);
    EXPECT_EQ(image->topCapHeight(), 0);
    EXPECT_EQ(image->pixel(4, 4), plain->pixel(4, 4));
    EXPECT_FALSE(plain->isStretchable()) << "the source image is left as it was";
}

} // namespace
