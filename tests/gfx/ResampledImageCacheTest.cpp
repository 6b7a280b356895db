// An image drawn again under the same resampling transform is copied from the raster its earlier draw left,
// and shows as the first draw did; a transform moved by whole pixels reuses that raster in the new place,
// and other pixels never get an older image's raster.
#include "gfx/drawing/ResampledImageCache.h"
#include "gfx/drawing/Context.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using gfx::Color;
using gfx::Context;
using gfx::Rect;

// A 40 x 40 pixel image: `colour` with a white diagonal, over a transparent two-pixel border.
std::shared_ptr<gfx::Image> makeImage(const Color& colour)
{
    auto c = Context::makeBitmap({ 40, 40 }, 1);
    c->setFillColor(colour);
    c->fillRect({ 2, 2, 36, 36 });
    c->setStrokeColor(Color::white());
    c->setLineWidth(3);
    c->beginPath();
    c->moveTo({ 2, 2 });
    c->lineTo({ 38, 38 });
    c->strokePath();
    return c->makeImage();
}

// The image squeezed to 27 x 13 points half a pixel off the grid, over grey, in a fresh 60-point canvas.
std::shared_ptr<Context> drawSqueezed(const gfx::Image& image, double dx = 0)
{
    auto c = Context::makeBitmap({ 60, 60 }, 2, true);
    c->setFillColor(Color::rgb(0.5, 0.5, 0.5));
    c->fillRect({ 0, 0, 60, 60 });
    c->drawImage(image, Rect(10.25 + dx, 20.75, 27, 13));
    return c;
}

// The largest difference of a channel between two canvases, `dx` device pixels of `b` to the right.
int largestDifference(Context& a, Context& b, int dx = 0)
{
    auto pa = *a.bitmap();
    auto pb = *b.bitmap();
    int largest = 0;
    for (int y = 0; y < pa.height; ++y)
        for (int x = 0; x + dx < pa.width; ++x)
            for (int shift = 0; shift < 32; shift += 8) {
                int va = static_cast<int>((pa.pixel(x, y) >> shift) & 0xff);
                int vb = static_cast<int>((pb.pixel(x + dx, y) >> shift) & 0xff);
                largest = std::max(largest, std::abs(va - vb));
            }
    return largest;
}

TEST(ResampledImageCache, ARepeatedDrawIsCopiedAndLooksAsTheFirst)
{
    auto image = makeImage(Color::red());
    auto first = drawSqueezed(*image);
    auto second = drawSqueezed(*image);
    auto third = drawSqueezed(*image);
    // Rounding of the copied, already blended edge pixels may differ by one step.
    EXPECT_LE(largestDifference(*first, *second), 1);
    EXPECT_LE(largestDifference(*first, *third), 1);
    // Moved by two device pixels: the same raster, two pixels further right.
    auto moved = drawSqueezed(*image, 1);
    EXPECT_LE(largestDifference(*first, *moved, 2), 1);
}

TEST(ResampledImageCache, AnotherImageNeverGetsAnOlderImagesRaster)
{
    {
        auto red = makeImage(Color::red());
        drawSqueezed(*red);
        drawSqueezed(*red);
    }
    // Made after the red one went, possibly at its address: drawn blue.
    auto blue = makeImage(Color::blue());
    drawSqueezed(*blue);
    auto shown = drawSqueezed(*blue)->bitmap()->pixel(2 * 15, 2 * 31);
    EXPECT_GT(shown & 0xff, 0xc0u);
    EXPECT_LT((shown >> 16) & 0xff, 0x40u);
}

TEST(ResampledImageCache, KeysSeenOnceKeepNoRasterAndTheOldestGoFirst)
{
    gfx::ResampledImageCache cache;
    int made = 0;
    auto make = [&made] {
        ++made;
        return gfx::ResampledRaster { cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4), 0, 0 };
    };
    gfx::ResampledImageKey key { 1, 1, 0, 0, 0.5, 0, 0.25 };
    EXPECT_FALSE(cache.rasterFor(key, make));
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(cache.rasterFor(key, make));
    EXPECT_TRUE(cache.rasterFor(key, make));
    EXPECT_EQ(made, 1);
    for (uint64_t other = 2; other < 2 + gfx::ResampledImageCache::capacity; ++other)
        cache.rasterFor({ other, 1, 0, 0, 0.5, 0, 0.25 }, make);
    EXPECT_EQ(cache.size(), gfx::ResampledImageCache::capacity);
    EXPECT_FALSE(cache.rasterFor(key, make));
}

} // namespace
