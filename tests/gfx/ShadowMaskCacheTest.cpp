// A path's shadow is blurred once and its mask reused while nothing it depends on changes; a changed clip,
// matrix or path makes a new one, so the cache never paints a stale shadow. A shadow cast from what a layer
// draws is reused only for the very same drawing.
#include "gfx/drawing/ShadowMaskCache.h"
#include "gfx/drawing/BlurredAlphaCache.h"
#include "gfx/drawing/Context.h"

#include <gtest/gtest.h>

namespace {

using gfx::Color;
using gfx::Context;

std::vector<uint32_t> pixels(Context& c)
{
    auto bitmap = c.bitmap();
    std::vector<uint32_t> all;
    for (int y = 0; y < bitmap->height; ++y)
        for (int x = 0; x < bitmap->width; ++x)
            all.push_back(bitmap->pixel(x, y));
    return all;
}

// A shadow of a 20-point square, blurred, in a 60-point canvas; `clipTop` cuts off what lies above it.
std::vector<uint32_t> drawShadow(double clipTop, double shift = 0)
{
    auto c = Context::makeBitmap({ 60, 60 }, 2);
    c->save();
    c->clipToRect({ 0, clipTop, 60, 60 - clipTop });
    c->translateBy(shift, 0);
    c->setShadow({ { 0, 3 }, 6, Color::black() });
    c->fillShadowOfPath(gfx::Path::rect({ 20, 20, 20, 20 }));
    c->restore();
    return pixels(*c);
}

TEST(ShadowMaskCache, ARepeatedShadowReusesItsMaskAndPaintsTheSamePixels)
{
    auto& cache = gfx::ShadowMaskCache::current();
    auto first = drawShadow(0);
    size_t entries = cache.size();
    EXPECT_GE(entries, 1u);
    EXPECT_EQ(drawShadow(0), first);
    EXPECT_EQ(cache.size(), entries);
}

TEST(ShadowMaskCache, AnotherClipOrMatrixMakesItsOwnMask)
{
    auto alphaAt = [](const std::vector<uint32_t>& picture, int x, int y) {
        return picture[static_cast<size_t>(y * 120 + x)] >> 24;
    };
    auto clipped = drawShadow(30);
    auto full = drawShadow(0);
    // Just above the square, the whole square's shadow shows; a mask made under the clip would have none.
    EXPECT_EQ(alphaAt(clipped, 60, 44), 0u);
    EXPECT_GT(alphaAt(full, 60, 44), 0u);
    auto shifted = drawShadow(0, 5);
    EXPECT_NE(shifted, full);
    EXPECT_GT(alphaAt(shifted, 70, 60), 0u);
    EXPECT_EQ(drawShadow(0), full);
}

TEST(ShadowMaskCache, KeepsOnlyAFewMasks)
{
    for (int i = 0; i < 10; ++i)
        drawShadow(i);
    EXPECT_EQ(gfx::ShadowMaskCache::current().size(), gfx::ShadowMaskCache::capacity);
}

// A shadow cast from what a transparency layer draws: a box `width` points wide at `x`, and a second box when
// asked.
std::vector<uint32_t> drawLayerShadow(double x, bool second = false, double width = 20)
{
    auto c = Context::makeBitmap({ 80, 60 }, 2);
    c->save();
    c->setShadow({ { 0, 3 }, 6, Color::black() });
    c->beginTransparencyLayer();
    c->setFillColor(Color::black().withAlpha(0.8));
    c->fillRect({ x, 20, width, 20 });
    if (second)
        c->fillRect({ 50, 5, 10, 10 });
    c->endTransparencyLayer();
    c->restore();
    return pixels(*c);
}

TEST(BlurredAlphaCache, ALayerDrawingTheSameAgainReusesItsBlurAndADifferentDrawingGetsItsOwn)
{
    auto& cache = gfx::BlurredAlphaCache::current();
    auto first = drawLayerShadow(10);
    size_t entries = cache.size();
    EXPECT_GE(entries, 1u);
    EXPECT_EQ(drawLayerShadow(10), first);
    EXPECT_EQ(cache.size(), entries);

    auto alphaAt = [](const std::vector<uint32_t>& picture, int x, int y) {
        return picture[static_cast<size_t>(y * 160 + x)] >> 24;
    };
    // The same size of group with other contents: the shadow follows what is drawn now.
    auto moved = drawLayerShadow(12);
    EXPECT_NE(moved, first);
    EXPECT_GT(alphaAt(moved, 62, 90), alphaAt(first, 62, 90));
    // A drawing that adds a shape casts that shape's shadow too.
    auto both = drawLayerShadow(10, true);
    EXPECT_GT(alphaAt(both, 110, 34), 0u);
    EXPECT_EQ(alphaAt(first, 110, 34), 0u);
    EXPECT_EQ(drawLayerShadow(10), first);
}

TEST(BlurredAlphaCache, KeepsOnlyAFewBlurs)
{
    // The same drawing moved is the same alpha in its region, so only drawings of other sizes make new blurs.
    for (int i = 0; i < 10; ++i)
        drawLayerShadow(10, false, 10 + i);
    EXPECT_EQ(gfx::BlurredAlphaCache::current().size(), gfx::BlurredAlphaCache::capacity);
}

} // namespace
