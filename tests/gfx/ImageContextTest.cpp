#include "gfx/images/ImageContext.h"
#include "base/system/Facts.h"
#include "gfx/drawing/CurrentContext.h"

#include <gtest/gtest.h>

using gfx::CurrentContext;
using gfx::ImageContext;

TEST(ImageContext, NestsStrictlyAndSnapshotsTheTop)
{
    ASSERT_EQ(CurrentContext::get(), nullptr);
    gfx::Context* outer = ImageContext::begin({ 10, 10 }, false, 1);
    ASSERT_EQ(CurrentContext::get(), outer);
    outer->setFillColor(gfx::Color::red());
    outer->fillRect({ 0, 0, 10, 10 });

    gfx::Context* inner = ImageContext::begin({ 4, 4 }, false, 3);
    EXPECT_EQ(CurrentContext::get(), inner);
    auto innerImage = ImageContext::image();
    EXPECT_EQ(innerImage->pixelWidth(), 12);
    EXPECT_EQ(innerImage->pixel(0, 0), 0u);
    ImageContext::end();

    auto outerImage = ImageContext::image();
    EXPECT_EQ(outerImage->pixel(5, 5), 0xFFFF0000u);
    ImageContext::end();
    EXPECT_EQ(CurrentContext::get(), nullptr);
    EXPECT_FALSE(ImageContext::image());
}

TEST(ImageContext, ScaleZeroMeansTheScreenScale)
{
    base::Facts::current().setScreenScale(3);
    ImageContext::begin({ 5, 2 }, false, 0);
    EXPECT_EQ(ImageContext::image()->scale(), 3);
    EXPECT_EQ(ImageContext::image()->pixelWidth(), 15);
    ImageContext::end();
    base::Facts::current().reset();
}

TEST(ImageContext, EmptySizeStillPairsBeginWithEnd)
{
    auto screen = gfx::Context::makeBitmap({ 1, 1 }, 1);
    CurrentContext::push(screen);
    EXPECT_EQ(ImageContext::begin({ 0, 10 }, false, 2), nullptr);
    EXPECT_EQ(CurrentContext::get(), nullptr);
    EXPECT_FALSE(ImageContext::image());
    ImageContext::end();
    EXPECT_EQ(CurrentContext::get(), screen.get());
    // Ending with a non-image context on top leaves it in place.
    ImageContext::end();
    EXPECT_EQ(CurrentContext::get(), screen.get());
    CurrentContext::pop();
}
