#include "ui/render/ShadowRasters.h"

#include "UITestFixture.h"
#include "gfx/drawing/ShadowMaskCache.h"

#include <cmath>

namespace {

class ShadowRasters : public test::UITest {
protected:
    static std::shared_ptr<gfx::Context> canvas()
    {
        auto context = gfx::Context::makeBitmap({ 200, 200 }, 2);
        context->setFillColor(gfx::Color::rgb(0.9, 0.9, 0.6));
        context->fillRect({ 0, 0, 200, 200 });
        return context;
    }
    // The shadow `path` casts at (x, y), drawn as a context draws it, blurred afresh.
    static std::shared_ptr<gfx::Context> blurredAfresh(double x, double y, const gfx::Path& shape = path)
    {
        auto context = canvas();
        context->translateBy(x, y);
        context->setShadow(shadow);
        context->fillShadowOfPath(shape);
        return context;
    }
    static std::shared_ptr<gfx::Context> fromRaster(double x, double y, const gfx::Path& shape = path)
    {
        auto context = canvas();
        context->translateBy(x, y);
        EXPECT_TRUE(ui::ShadowRasters::main().paint(*context, shape, shadow));
        return context;
    }
    static bool samePixels(gfx::Context& a, gfx::Context& b)
    {
        auto one = a.bitmap(), other = b.bitmap();
        for (int y = 0; y < one->height; ++y) {
            for (int x = 0; x < one->width; ++x) {
                if (one->pixel(x, y) != other->pixel(x, y)) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " differs";
                    return false;
                }
            }
        }
        return true;
    }

    static inline const gfx::Path path = gfx::Path::roundedRect({ 0, 0, 80, 60 }, 8);
    static inline const gfx::Shadow shadow { { 2, 5 }, 12, gfx::Color::rgb(0.1, 0.1, 0.4).withAlpha(0.7) };
};

} // namespace

TEST_F(ShadowRasters, PaintsWhatAFreshBlurPaintsAndMovesItsRasterByWholePixels)
{
    EXPECT_TRUE(samePixels(*fromRaster(40, 50), *blurredAfresh(40, 50)));
    size_t kept = ui::ShadowRasters::main().size();
    // Moved by whole pixels, and by a fraction of one (painted at the nearest whole pixel): the same raster.
    EXPECT_TRUE(samePixels(*fromRaster(73.5, 21), *blurredAfresh(73.5, 21)));
    EXPECT_TRUE(samePixels(*fromRaster(60.3, 70.6), *blurredAfresh(60.5, 70.5)));
    EXPECT_EQ(ui::ShadowRasters::main().size(), kept);

    // Under a clip the raster gives the clipped part of the same picture.
    auto clipped = canvas();
    clipped->clipToRect({ 30, 30, 25, 90 });
    clipped->translateBy(40, 50);
    EXPECT_TRUE(ui::ShadowRasters::main().paint(*clipped, path, shadow));
    auto whole = fromRaster(40, 50);
    for (int y = 60; y < 240; y += 3)
        for (int x = 60; x < 110; x += 3)
            ASSERT_EQ(clipped->bitmap()->pixel(x, y), whole->bitmap()->pixel(x, y)) << x << "," << y;
}

TEST_F(ShadowRasters, ATurnedPathGetsARasterOfItsOwnAndAHugeOneNone)
{
    auto turned = canvas();
    turned->translateBy(100, 100);
    turned->rotateBy(0.3);
    EXPECT_TRUE(ui::ShadowRasters::main().paint(*turned, path, shadow));
    auto afresh = canvas();
    afresh->translateBy(100, 100);
    afresh->rotateBy(0.3);
    afresh->setShadow(shadow);
    afresh->fillShadowOfPath(path);
    EXPECT_TRUE(samePixels(*turned, *afresh));

    auto context = canvas();
    EXPECT_FALSE(ui::ShadowRasters::main().paint(*context, gfx::Path::rect({ 0, 0, 2100, 2100 }), shadow));
}

TEST_F(ShadowRasters, ALongStraightSidedShadowKeepsASmallFrameAndNoSecondMask)
{
    // Shapes whose sides run long in one direction or both, the last nearly the canvas's size, as the drawer's
    // centre is the screen's.
    const gfx::Path shapes[] = { gfx::Path::rect({ 0, 0, 40, 170 }), gfx::Path::roundedRect({ 0, 0, 150, 60 }, 6),
        gfx::Path::roundedRect({ 0, 0, 160, 150 }, 10), gfx::Path::rect({ 0, 0, 180, 170 }) };
    auto& rasters = ui::ShadowRasters::main();
    size_t masks = gfx::ShadowMaskCache::current().size();
    std::vector<std::shared_ptr<gfx::Context>> painted;
    for (const gfx::Path& shape : shapes) {
        size_t before = rasters.pixelCount();
        painted.push_back(fromRaster(10, 12, shape));
        double reach = 2 * ui::ShadowRasters::reach(shadow, 2);
        gfx::Size box = shape.boundingBox().size;
        double whole = (box.width * 2 + reach) * (box.height * 2 + reach);
        EXPECT_LT(double(rasters.pixelCount()), double(before) + whole / 2) << box.width << " x " << box.height;
    }
    // The rasters are the only kept copies of these shadows: the drawing context kept no blurred mask of them.
    EXPECT_EQ(gfx::ShadowMaskCache::current().size(), masks);
    for (size_t i = 0; i < std::size(shapes); ++i) {
        EXPECT_TRUE(samePixels(*painted[i], *blurredAfresh(10, 12, shapes[i]))) << i;
        EXPECT_TRUE(samePixels(*fromRaster(5.3, 8.6, shapes[i]), *blurredAfresh(5.5, 8.5, shapes[i]))) << i;
    }
}
