// A turned image comes out as filling its outline with its smoothed pixels does, whether it is painted through
// a mask of its outline or, where a clip cuts the outline, by cairo filling it, and under a group's alpha.
#include "gfx/drawing/Context.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using gfx::Color;
using gfx::Context;
using gfx::Rect;

// A 30 x 30 pixel image of uneven colours and alphas up to its edge, so that no transparent border lets it
// be painted within its box.
std::shared_ptr<gfx::Image> makeImage()
{
    auto c = Context::makeBitmap({ 30, 30 }, 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            c->setFillColor(
                Color::rgb(x / 29.0, y / 29.0, (x * y % 7) / 6.0).withAlpha(0.3 + 0.7 * ((x + 2 * y) % 5) / 4));
            c->fillRect({ double(x), double(y), 1, 1 });
        }
    return c->makeImage();
}

struct Placement {
    double x, y, angle, scale;
};

// The canvas: grey, then the image drawn at `at` through the context, optionally clipped.
std::shared_ptr<Context> drawThroughContext(const gfx::Image& image, const Placement& at, const Rect& clip)
{
    auto c = Context::makeBitmap({ 80, 80 }, 1, true);
    c->setFillColor(Color::rgb(0.5, 0.5, 0.5));
    c->fillRect({ 0, 0, 80, 80 });
    c->clipToRect(clip);
    c->translateBy(at.x, at.y);
    c->rotateBy(at.angle);
    c->drawImage(image, { -15 * at.scale, -15 * at.scale, 30 * at.scale, 30 * at.scale });
    return c;
}

// Fills the image's outline at `at` with its padded, smoothed pixels, with cairo alone.
void fillOutline(cairo_t* cr, const gfx::Image& image, const Placement& at)
{
    cairo_save(cr);
    cairo_translate(cr, at.x, at.y);
    cairo_rotate(cr, at.angle);
    cairo_translate(cr, -15 * at.scale, -15 * at.scale);
    cairo_scale(cr, at.scale, at.scale);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image.cairoSurface());
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, 0, 0, 30, 30);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
    cairo_restore(cr);
}

// The canvas of drawThroughContext, made with cairo alone.
std::shared_ptr<Context> drawByFilling(const gfx::Image& image, const Placement& at, const Rect& clip)
{
    auto c = Context::makeBitmap({ 80, 80 }, 1, true);
    cairo_t* cr = c->cairo();
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_paint(cr);
    cairo_rectangle(cr, clip.minX(), clip.minY(), clip.width(), clip.height());
    cairo_clip(cr);
    fillOutline(cr, image, at);
    return c;
}

int differingPixels(Context& a, Context& b)
{
    auto pa = *a.bitmap();
    auto pb = *b.bitmap();
    int differing = 0;
    for (int y = 0; y < pa.height; ++y)
        for (int x = 0; x < pa.width; ++x)
            differing += pa.pixel(x, y) != pb.pixel(x, y);
    return differing;
}

} // namespace

TEST(TurnedImage, ComesOutAsFillingItsOutlineWhetherOrNotAClipCutsIt)
{
    auto image = makeImage();
    const Rect whole { 0, 0, 80, 80 };
    // Each placement once only, so that no kept raster stands in for the drawing.
    const Placement placements[] = { { 40, 40, 0.3, 1 }, { 40.37, 39.81, 1.1, 1 }, { 33.5, 41.25, 2.7, 0.8 },
        { 45.1, 37.9, -0.45, 1.3 }, { 40.62, 40.13, 4.0, 1 } };
    for (const Placement& at : placements) {
        auto drawn = drawThroughContext(*image, at, whole);
        auto filled = drawByFilling(*image, at, whole);
        EXPECT_EQ(differingPixels(*drawn, *filled), 0) << at.angle;
    }
    // A clip holding the whole outline leaves it as it is; one cutting through it is drawn as cairo cuts it.
    const Rect clips[] = { { 10, 10, 60, 60 }, { 40, 0, 40, 80 }, { 0, 33, 80, 9 } };
    for (const Rect& clip : clips) {
        Placement at { 40.3, 40.7, 0.77 + clip.minX() / 100 + clip.minY() / 1000, 1 };
        auto drawn = drawThroughContext(*image, at, clip);
        auto filled = drawByFilling(*image, at, clip);
        EXPECT_EQ(differingPixels(*drawn, *filled), 0) << clip.minX() << "," << clip.minY();
    }
}

TEST(TurnedImage, TakesATransparencyLayersAlphaAsAFillDoes)
{
    auto image = makeImage();
    Placement at { 40.2, 39.6, 0.61, 1 };
    auto drawn = Context::makeBitmap({ 80, 80 }, 1, true);
    drawn->setFillColor(Color::rgb(0.2, 0.4, 0.6));
    drawn->fillRect({ 0, 0, 80, 80 });
    drawn->setAlpha(0.6);
    drawn->beginTransparencyLayer();
    drawn->translateBy(at.x, at.y);
    drawn->rotateBy(at.angle);
    drawn->drawImage(*image, { -15, -15, 30, 30 });
    drawn->endTransparencyLayer();

    auto filled = Context::makeBitmap({ 80, 80 }, 1, true);
    cairo_t* cr = filled->cairo();
    cairo_set_source_rgb(cr, 0.2, 0.4, 0.6);
    cairo_paint(cr);
    cairo_push_group(cr);
    fillOutline(cr, *image, at);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.6);
    EXPECT_EQ(differingPixels(*drawn, *filled), 0);
}
