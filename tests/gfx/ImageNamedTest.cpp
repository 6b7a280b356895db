#include "gfx/images/Image.h"

#include "base/system/Facts.h"

#include <gtest/gtest.h>

namespace {

// Resource images: the check box images are drawn at 22 by 22 points, in 1x and 2x files.
TEST(ImageNamed, PrefersTheScreensScaleAndSharesOneImagePerName)
{
    base::Facts::current().setScreenScale(2.0);
    auto image = gfx::Image::named("cb_mono_on");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2);
    EXPECT_EQ(image->size(), (gfx::Size { 22, 22 }));
    EXPECT_EQ(gfx::Image::named("cb_mono_on"), image);
    EXPECT_EQ(gfx::Image::named("cb_mono_off.png")->size(), (gfx::Size { 22, 22 }));

    // Once no one holds it, the image's pixels are freed; asked for again, it comes back the same.
    std::weak_ptr<gfx::Image> released = image;
    image.reset();
    EXPECT_TRUE(released.expired());
    EXPECT_EQ(gfx::Image::named("cb_mono_on")->size(), (gfx::Size { 22, 22 }));
}

TEST(ImageNamed, MissingImageIsNoImage)
{
    EXPECT_FALSE(gfx::Image::named("no_such_image"));
    EXPECT_FALSE(gfx::Image::named(""));
}

} // namespace
