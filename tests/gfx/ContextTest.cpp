#include "gfx/drawing/Context.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using gfx::Color;
using gfx::Context;
using gfx::Rect;

namespace {

constexpr double pi = std::numbers::pi;
constexpr uint32_t red = 0xFFFF0000u;
constexpr uint32_t blue = 0xFF0000FFu;

uint32_t pixel(Context& c, int x, int y) { return c.bitmap()->pixel(x, y); }
int alphaAt(Context& c, int x, int y) { return static_cast<int>(pixel(c, x, y) >> 24); }

std::shared_ptr<Context> canvas(double width = 40, double height = 40, double scale = 1)
{
    auto context = Context::makeBitmap({ width, height }, scale);
    EXPECT_TRUE(context);
    return context;
}

} // namespace

TEST(Context, BitmapsArePointsTimesScale)
{
    auto c = Context::makeBitmap({ 10.2, 5 }, 2);
    EXPECT_EQ(c->bitmap()->width, 21);
    EXPECT_EQ(c->bitmap()->height, 10);
    EXPECT_EQ(pixel(*c, 0, 0), 0u);
    EXPECT_EQ(pixel(*Context::makeBitmap({ 2, 2 }, 1, true), 1, 1), 0xFF000000u);
    EXPECT_FALSE(Context::makeBitmap({ 0, 10 }, 2));
    EXPECT_FALSE(Context::makeBitmap({ 100000, 100000 }, 2));
}

TEST(Context, FillRectCoversItsPixelsAtTheScale)
{
    auto c = canvas(20, 20, 2);
    c->setFillColor(Color::red());
    c->fillRect({ 5, 5, 5, 5 });
    EXPECT_EQ(pixel(*c, 10, 10), red);
    EXPECT_EQ(pixel(*c, 19, 19), red);
    EXPECT_EQ(pixel(*c, 20, 20), 0u);
    EXPECT_EQ(pixel(*c, 9, 10), 0u);
}

TEST(Context, FillRectLeavesTheCurrentPathAlone)
{
    auto c = canvas();
    c->addRect({ 0, 0, 10, 10 });
    c->setFillColor(Color::blue());
    c->fillRect({ 20, 20, 10, 10 });
    c->setFillColor(Color::red());
    c->fillPath();
    EXPECT_EQ(pixel(*c, 5, 5), red);
    EXPECT_EQ(pixel(*c, 25, 25), blue);
}

TEST(Context, EvenOddFillLeavesTheInnerShapeEmpty)
{
    auto c = canvas();
    c->setFillColor(Color::red());
    c->addRect({ 0, 0, 40, 40 });
    c->addPath(gfx::Path::roundedRect({ 10, 10, 20, 20 }, 4));
    c->fillPath(gfx::FillRule::EvenOdd);
    EXPECT_EQ(pixel(*c, 5, 5), red);
    EXPECT_EQ(pixel(*c, 20, 20), 0u);
}

TEST(Context, ClipLimitsLaterPaintsUntilRestored)
{
    auto c = canvas();
    c->save();
    c->addEllipse({ 0, 0, 40, 40 });
    c->clip();
    c->setFillColor(Color::red());
    c->fillRect({ 0, 0, 40, 40 });
    EXPECT_EQ(pixel(*c, 20, 20), red);
    EXPECT_EQ(pixel(*c, 1, 1), 0u);
    c->restore();
    c->fillRect({ 0, 0, 40, 40 });
    EXPECT_EQ(pixel(*c, 1, 1), 0xFF000000u); // the fill colour was restored to black with the clip
}

TEST(Context, StrokeUsesTheLineWidthAndArcDirection)
{
    auto c = canvas(100, 100);
    c->setStrokeColor(Color::red());
    c->setLineWidth(4);
    c->setLineCap(gfx::LineCap::Butt);
    // 12 o'clock to 3 o'clock, increasing angles: the upper-right quarter only.
    c->addArc({ 50, 50 }, 40, -pi / 2, 0, gfx::ArcDirection::Increasing);
    c->strokePath();
    EXPECT_EQ(pixel(*c, 50 + 28, 50 - 29), red);
    EXPECT_EQ(pixel(*c, 50 - 28, 50 - 29), 0u);
    EXPECT_EQ(pixel(*c, 50 + 28, 50 + 28), 0u);
}

TEST(Context, ShadowIsCastBelowAndBlurred)
{
    auto sharp = canvas();
    sharp->setShadow({ { 0, 5 }, 0, Color::black() });
    sharp->setFillColor(Color::red());
    sharp->fillRect({ 10, 10, 10, 10 });
    EXPECT_EQ(pixel(*sharp, 15, 15), red);
    EXPECT_EQ(pixel(*sharp, 15, 22), 0xFF000000u);
    EXPECT_EQ(pixel(*sharp, 15, 26), 0u);
    EXPECT_EQ(pixel(*sharp, 15, 8), 0u);

    auto soft = canvas();
    soft->setShadow({ { 0, 0 }, 4, Color::black() });
    soft->setFillColor(Color::red());
    soft->fillRect({ 10, 10, 20, 20 });
    EXPECT_EQ(pixel(*soft, 20, 20), red);
    int nearEdge = alphaAt(*soft, 20, 8);
    int further = alphaAt(*soft, 20, 5);
    EXPECT_GT(nearEdge, further);
    EXPECT_GT(further, 0);
    EXPECT_LT(nearEdge, 255);
}

TEST(Context, ShadowStopsAtRestoreAndClipsWithTheClip)
{
    auto c = canvas();
    c->save();
    c->clipToRect({ 0, 0, 40, 24 });
    c->setShadow({ { 0, 10 }, 0, Color::black() });
    c->setFillColor(Color::red());
    c->fillRect({ 10, 0, 10, 10 });
    c->restore();
    EXPECT_EQ(pixel(*c, 15, 15), 0xFF000000u);
    EXPECT_EQ(pixel(*c, 15, 25), 0u);
    c->fillRect({ 25, 0, 5, 5 });
    EXPECT_EQ(pixel(*c, 27, 10), 0u);
}

TEST(Context, TransparencyLayerCastsOneShadowForTheGroup)
{
    auto c = canvas();
    c->setShadow({ { 10, 0 }, 0, Color::black() });
    c->beginTransparencyLayer();
    c->setFillColor(Color::red());
    c->fillRect({ 0, 0, 10, 10 });
    c->fillRect({ 5, 0, 10, 10 }); // overlapping: inside the layer no shadow falls on the first square
    c->endTransparencyLayer();
    EXPECT_EQ(pixel(*c, 7, 5), red);
    EXPECT_EQ(pixel(*c, 22, 5), 0xFF000000u);
    EXPECT_EQ(pixel(*c, 26, 5), 0u);
}

TEST(Context, LinearGradientPaintsOnlyBetweenItsEndsUnlessExtended)
{
    gfx::Gradient fade({ { 0, Color::red() }, { 1, Color::blue() } });
    auto plain = canvas();
    plain->drawLinearGradient(fade, { 10, 0 }, { 30, 0 }, 0);
    EXPECT_EQ(alphaAt(*plain, 5, 5), 0);
    EXPECT_EQ(alphaAt(*plain, 35, 5), 0);
    EXPECT_EQ(alphaAt(*plain, 20, 5), 255);
    EXPECT_GT(pixel(*plain, 11, 5) & 0xFF0000, pixel(*plain, 29, 5) & 0xFF0000);

    auto after = canvas();
    after->drawLinearGradient(fade, { 10, 0 }, { 30, 0 }, gfx::Gradient::DrawsAfterEndLocation);
    EXPECT_EQ(alphaAt(*after, 5, 5), 0);
    EXPECT_EQ(pixel(*after, 38, 5), blue);
}

TEST(Context, RadialGradientExtendsBeyondItsEndCircle)
{
    gfx::Gradient veil({ { 0, Color::black().withAlpha(0) }, { 1, Color::black().withAlpha(1) } });
    auto c = canvas();
    c->drawRadialGradient(veil, { 20, 20 }, 0, { 20, 20 }, 10, gfx::Gradient::DrawsAfterEndLocation);
    EXPECT_LT(alphaAt(*c, 20, 20), 30);
    EXPECT_EQ(alphaAt(*c, 1, 1), 255);
    auto bounded = canvas();
    bounded->drawRadialGradient(veil, { 20, 20 }, 0, { 20, 20 }, 10, 0);
    EXPECT_EQ(alphaAt(*bounded, 1, 1), 0);
}

TEST(Context, ClearBlendModeCutsOut)
{
    auto c = canvas();
    c->setFillColor(Color::red());
    c->fillRect({ 0, 0, 40, 40 });
    c->setBlendMode(gfx::BlendMode::Clear);
    c->fillEllipse({ 10, 10, 20, 20 });
    EXPECT_EQ(pixel(*c, 20, 20), 0u);
    EXPECT_EQ(pixel(*c, 2, 2), red);
}

TEST(Context, AlphaScalesEveryPaint)
{
    auto c = canvas();
    c->setAlpha(0.5);
    c->setFillColor(Color::white());
    c->fillRect({ 0, 0, 10, 10 });
    EXPECT_NEAR(alphaAt(*c, 5, 5), 128, 1);
}

TEST(Context, SingularTransformDrawsNothingUntilRestored)
{
    auto c = canvas();
    c->setFillColor(Color::red());
    c->save();
    c->scaleBy(0, 0);
    c->fillRect({ 0, 0, 40, 40 });
    c->translateBy(5, 5);
    c->fillRect({ 0, 0, 40, 40 });
    c->restore();
    EXPECT_EQ(pixel(*c, 20, 20), 0u);
    c->fillRect({ 0, 0, 10, 10 });
    EXPECT_EQ(pixel(*c, 5, 5), red);
}

TEST(Context, ImagesDrawUprightOrBottomUp)
{
    auto source = canvas(2, 2);
    source->setFillColor(Color::red());
    source->fillRect({ 0, 0, 2, 1 });
    source->setFillColor(Color::blue());
    source->fillRect({ 0, 1, 2, 1 });
    auto image = source->makeImage();

    auto upright = canvas(20, 20);
    upright->drawImage(*image, { 0, 0, 20, 20 });
    EXPECT_EQ(pixel(*upright, 10, 2), red);
    EXPECT_EQ(pixel(*upright, 10, 17), blue);

    // Flipping the context and drawing bottom-up gives the upright picture again.
    auto flipped = canvas(20, 20);
    flipped->scaleBy(1, -1);
    flipped->translateBy(0, -20);
    flipped->drawImageBottomUp(*image, { 0, 0, 20, 20 });
    EXPECT_EQ(pixel(*flipped, 10, 2), red);
    EXPECT_EQ(pixel(*flipped, 10, 17), blue);

    auto unflipped = canvas(20, 20);
    unflipped->drawImageBottomUp(*image, { 0, 0, 20, 20 });
    EXPECT_EQ(pixel(*unflipped, 10, 2), blue);
}

TEST(Context, TransformsComposeLikeTheTransformType)
{
    auto c = canvas(100, 100, 2);
    c->translateBy(10, 0);
    c->scaleBy(2, 2);
    auto t = c->currentTransform();
    auto expected = gfx::AffineTransform::concat(gfx::AffineTransform::makeScale(2, 2),
        gfx::AffineTransform::concat(
            gfx::AffineTransform::makeTranslation(10, 0), gfx::AffineTransform::makeScale(2, 2)));
    EXPECT_EQ(t, expected);
    EXPECT_EQ(t.apply(gfx::Point { 1, 1 }), (gfx::Point { 24, 4 }));
}

TEST(Context, BadNumbersNeverBreakTheContext)
{
    auto c = canvas();
    auto image = canvas(2, 2)->makeImage();
    double nan = std::nan("");
    c->save();
    c->translateBy(nan, 0);
    c->fillRect({ 0, 0, 40, 40 });
    c->restore();
    c->drawImage(*image, { nan, 0, 10, 10 });
    c->drawText(gfx::AttributedString("x", {}), { 0, 0, INFINITY, 10 });
    c->drawLinearGradient(gfx::Gradient::evenlySpaced({ Color::red(), Color::blue() }), { nan, 0 }, { 10, 0 }, 0);
    c->drawRadialGradient(gfx::Gradient::evenlySpaced({ Color::red() }), { 0, 0 }, 0, { 0, 0 }, nan, 0);
    c->setLineDash(0, { -1, 2 });
    c->setLineWidth(nan);
    c->moveTo({ nan, 1 });
    c->lineTo({ 30, 30 });
    c->strokePath();
    EXPECT_EQ(cairo_status(c->cairo()), CAIRO_STATUS_SUCCESS);
    c->setFillColor(Color::red());
    c->fillRect({ 0, 0, 5, 5 });
    EXPECT_EQ(pixel(*c, 2, 2), red);
}

TEST(Context, UnboundedSurfacesTakeShadowedLayers)
{
    cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
    {
        Context c(recording, 2);
        c.setShadow({ { 0, 2 }, 3, Color::black() });
        c.beginTransparencyLayer();
        c.fillRect({ 0, 0, 10, 10 });
        c.endTransparencyLayer();
        c.fillRect({ 20, 0, 10, 10 });
        EXPECT_EQ(cairo_status(c.cairo()), CAIRO_STATUS_SUCCESS);
    }
    double x, y, width, height;
    cairo_recording_surface_ink_extents(recording, &x, &y, &width, &height);
    EXPECT_GE(width, 60);
    cairo_surface_destroy(recording);
}
