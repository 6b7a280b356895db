#include "gfx/geometry/AffineTransform.h"
#include "gfx/geometry/Transform3D.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using gfx::AffineTransform;
using gfx::Transform3D;

namespace {

constexpr double pi = std::numbers::pi;

void expectPoint(gfx::Point actual, gfx::Point expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

} // namespace

TEST(AffineTransform, PositiveAngleTurnsClockwiseOnTheScreen)
{
    auto r = AffineTransform::makeRotation(pi / 2);
    // Right turns to down on the y-down screen.
    expectPoint(r.apply(gfx::Point { 1, 0 }), { 0, 1 });
    expectPoint(r.apply(gfx::Point { 0, 1 }), { -1, 0 });
    EXPECT_NEAR(r.a, 0, 1e-12);
    EXPECT_NEAR(r.b, 1, 1e-12);
    EXPECT_NEAR(r.c, -1, 1e-12);
}

TEST(AffineTransform, ConcatAppliesTheFirstThenTheSecond)
{
    auto scale = AffineTransform::makeScale(2, 3);
    auto move = AffineTransform::makeTranslation(10, 0);
    expectPoint(AffineTransform::concat(scale, move).apply(gfx::Point { 1, 1 }), { 12, 3 });
    expectPoint(AffineTransform::concat(move, scale).apply(gfx::Point { 1, 1 }), { 22, 3 });
}

TEST(AffineTransform, MemberStepsComeBeforeTheExistingTransform)
{
    auto t = AffineTransform::makeScale(2, 2).translated(5, 0);
    EXPECT_EQ(t, AffineTransform::concat(AffineTransform::makeTranslation(5, 0), AffineTransform::makeScale(2, 2)));
    EXPECT_EQ(t.tx, 10);
    auto r = AffineTransform::makeTranslation(10, 0).rotated(pi);
    expectPoint(r.apply(gfx::Point { 1, 0 }), { 9, 0 });
}

TEST(AffineTransform, SingularTransformsHaveNoInverse)
{
    EXPECT_FALSE(AffineTransform::makeScale(0, 0).inverted());
    EXPECT_FALSE(AffineTransform::makeScale(1, 0).inverted());
    auto tiny = AffineTransform::makeScale(0.000001, 0.000001).inverted();
    ASSERT_TRUE(tiny);
    EXPECT_NEAR(tiny->a, 1e6, 1e-3);

    auto t = AffineTransform::makeRotation(0.3).translated(4, -7).scaled(2, 0.5);
    auto inverse = t.inverted();
    ASSERT_TRUE(inverse);
    expectPoint(inverse->apply(t.apply(gfx::Point { 3, 8 })), { 3, 8 });
}

TEST(AffineTransform, RectangleMapsToItsBoundingBox)
{
    auto r = AffineTransform::makeRotation(pi / 4).apply(gfx::Rect(0, 0, 10, 10));
    EXPECT_NEAR(r.minX(), -10 / std::sqrt(2), 1e-9);
    EXPECT_NEAR(r.width(), 20 / std::sqrt(2), 1e-9);
    EXPECT_NEAR(r.height(), 20 / std::sqrt(2), 1e-9);
    EXPECT_TRUE(AffineTransform::makeScale(2, 2).apply(gfx::Rect::null()).isNull());
}

TEST(Transform3D, TranslateAfterScaleRunsTheTranslationFirst)
{
    double p = 1.5, d = 40;
    auto t = Transform3D::makeScale(p, 1, 1).translated(d, 0, 0);
    EXPECT_EQ(t.m11, p);
    EXPECT_EQ(t.m41, p * d);
    EXPECT_EQ(t, Transform3D::concat(Transform3D::makeTranslation(d, 0, 0), Transform3D::makeScale(p, 1, 1)));
    auto u = Transform3D::concat(Transform3D::makeScale(p, 1, 1), Transform3D::makeTranslation(d, 0, 0));
    EXPECT_EQ(u.m41, d);
}

TEST(Transform3D, RotationMatrixEntries)
{
    auto z = Transform3D::makeRotation(pi / 2, 0, 0, 1);
    auto affine = AffineTransform::makeRotation(pi / 2);
    EXPECT_NEAR(z.m11, affine.a, 1e-12);
    EXPECT_NEAR(z.m12, affine.b, 1e-12);
    EXPECT_NEAR(z.m21, affine.c, 1e-12);
    EXPECT_NEAR(z.m22, affine.d, 1e-12);
    EXPECT_TRUE(z.isAffine());

    auto y = Transform3D::makeRotation(pi / 2, 0, 2, 0); // the axis need not be of unit length
    EXPECT_NEAR(y.m11, 0, 1e-12);
    EXPECT_NEAR(y.m13, -1, 1e-12);
    EXPECT_NEAR(y.m31, 1, 1e-12);
    EXPECT_NEAR(y.m33, 0, 1e-12);
    EXPECT_FALSE(y.isAffine());

    EXPECT_TRUE(Transform3D::makeRotation(1, 0, 0, 0).isIdentity());
}

TEST(Transform3D, SwingingDoorKeepsPerspectiveAndComposesRotationFirst)
{
    auto door = Transform3D::identity();
    door.m34 = -0.001;
    auto swung = door.rotated(pi / 2, 0, 1, 0);
    EXPECT_EQ(swung, Transform3D::concat(Transform3D::makeRotation(pi / 2, 0, 1, 0), door));
    EXPECT_NEAR(swung.m14, 0.001, 1e-12);
    EXPECT_NEAR(swung.m34, 0, 1e-12);

    auto perspective = Transform3D::identity();
    perspective.m34 = -0.001;
    auto tilted = Transform3D::makeRotation(pi / 4, 0, 1, 0);
    auto seen = Transform3D::concat(tilted, perspective);
    gfx::Point far = seen.apply({ 100, 0 });
    EXPECT_NEAR(far.x, 100 * std::cos(pi / 4) / (1 + 0.1 * std::sin(pi / 4)), 1e-9);
}

TEST(Transform3D, InverseAndAffinePart)
{
    auto t = Transform3D::makeRotation(0.7, 1, 2, 3).translated(5, 6, 7).scaled(2, 3, 4);
    auto inverse = t.inverted();
    ASSERT_TRUE(inverse);
    auto product = Transform3D::concat(t, *inverse);
    EXPECT_NEAR(product.m11, 1, 1e-12);
    EXPECT_NEAR(product.m41, 0, 1e-12);
    EXPECT_NEAR(product.m23, 0, 1e-12);
    EXPECT_FALSE(Transform3D::makeScale(0, 1, 1).inverted());

    auto affine = AffineTransform::makeRotation(0.2).translated(3, 4);
    EXPECT_EQ(Transform3D::makeAffine(affine).affine(), affine);
}
