#include "gfx/drawing/Path.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using gfx::ArcDirection;
using gfx::Path;
using gfx::Point;
using gfx::Rect;

namespace {

constexpr double pi = std::numbers::pi;

Point endPoint(const Path& path) { return *path.currentPoint(); }

} // namespace

TEST(Path, IncreasingArcFromTwelveOClockSweepsClockwiseOnScreen)
{
    auto quarter = Path::arc({ 50, 50 }, 40, -pi / 2, 0, ArcDirection::Increasing);
    Rect box = quarter.boundingBox();
    // The quarter from 12 to 3 o'clock stays in the upper-right quadrant.
    EXPECT_GE(box.minX(), 50 - 1e-9);
    EXPECT_LE(box.maxY(), 50 + 1e-9);
    EXPECT_NEAR(endPoint(quarter).x, 90, 1e-9);
    EXPECT_NEAR(endPoint(quarter).y, 50, 1e-9);
    EXPECT_NEAR(quarter.length(), 2 * pi * 40 / 4, 0.01);
}

TEST(Path, DecreasingArcTakesTheOtherWayRound)
{
    auto longWay = Path::arc({ 50, 50 }, 40, -pi / 2, 0, ArcDirection::Decreasing);
    EXPECT_NEAR(longWay.length(), 2 * pi * 40 * 3 / 4, 0.05);
    Rect box = longWay.boundingBox();
    EXPECT_LT(box.minX(), 20);
    EXPECT_GT(box.maxY(), 80);
    EXPECT_NEAR(endPoint(longWay).x, 90, 1e-9);
}

TEST(Path, ArcWrapsWhenTheEndLiesBehindTheStart)
{
    // From 3π/2 to 0 in increasing angles is a quarter turn, not three quarters back.
    auto corner = Path::arc({ 0, 0 }, 10, 3 * pi / 2, 0, ArcDirection::Increasing);
    EXPECT_NEAR(corner.length(), 2 * pi * 10 / 4, 0.01);
    auto full = Path::arc({ 0, 0 }, 10, 0, 6 * pi, ArcDirection::Increasing);
    EXPECT_NEAR(full.length(), 2 * pi * 10, 0.02);
    auto nothing = Path::arc({ 0, 0 }, 10, 1, 1, ArcDirection::Increasing);
    EXPECT_EQ(nothing.elements().size(), 1u);
}

TEST(Path, ArcJoinsAnOpenSubpathWithALine)
{
    Path path;
    path.moveTo({ 0, 0 });
    path.addArc({ 20, 0 }, 5, pi, 0, ArcDirection::Increasing);
    ASSERT_GE(path.elements().size(), 3u);
    EXPECT_EQ(path.elements()[1].type, Path::ElementType::LineTo);
    EXPECT_NEAR(path.elements()[1].points[0].x, 15, 1e-9);
}

TEST(Path, BoundingBoxIncludesControlPointsAndIsNullWhenEmpty)
{
    EXPECT_TRUE(Path().boundingBox().isNull());
    EXPECT_EQ(Path::rect({ 0, 0, 320, 480 }).boundingBox(), Rect(0, 0, 320, 480));
    Path curve;
    curve.moveTo({ 0, 0 });
    curve.curveTo({ 0, -30 }, { 10, -30 }, { 10, 0 });
    EXPECT_EQ(curve.boundingBox(), Rect(0, -30, 10, 30));
    Rect rounded = Path::roundedRect({ 5, 5, 100, 40 }, 8).boundingBox();
    EXPECT_NEAR(rounded.minX(), 5, 1e-9);
    EXPECT_NEAR(rounded.maxY(), 45, 1e-9);
}

TEST(Path, ContainsFollowsTheFillRule)
{
    Path frame = Path::rect({ 0, 0, 100, 100 });
    frame.addRect({ 25, 25, 50, 50 });
    EXPECT_TRUE(frame.contains({ 50, 50 }, gfx::FillRule::NonZero));
    EXPECT_FALSE(frame.contains({ 50, 50 }, gfx::FillRule::EvenOdd));
    EXPECT_TRUE(frame.contains({ 10, 50 }, gfx::FillRule::EvenOdd));
    EXPECT_FALSE(frame.contains({ 150, 50 }));

    Path disc = Path::oval({ 0, 0, 100, 100 });
    EXPECT_TRUE(disc.contains({ 50, 50 }));
    EXPECT_FALSE(disc.contains({ 5, 5 }));
}

TEST(Path, RoundedRectangleClampsItsRadius)
{
    auto pill = Path::roundedRect({ 0, 0, 100, 20 }, 50);
    EXPECT_NEAR(pill.length(), 2 * 80 + 2 * pi * 10, 0.05);
    EXPECT_TRUE(pill.contains({ 50, 10 }));
    EXPECT_FALSE(pill.contains({ 1, 1 }));
}

TEST(Path, ArcToPointRoundsACornerBetweenItsTangents)
{
    Path corner;
    corner.moveTo({ 0, 0 });
    corner.addArcToPoint({ 100, 0 }, { 100, 100 }, 10);
    // A line to the first tangent point, then a quarter arc ending at the second.
    EXPECT_EQ(corner.elements()[1].type, Path::ElementType::LineTo);
    EXPECT_NEAR(corner.elements()[1].points[0].x, 90, 1e-9);
    EXPECT_NEAR(endPoint(corner).x, 100, 1e-9);
    EXPECT_NEAR(endPoint(corner).y, 10, 1e-9);
    EXPECT_NEAR(corner.length(), 90 + 2 * pi * 10 / 4, 0.01);
    // The arc bulges towards the corner, never past it.
    EXPECT_LE(corner.boundingBox().maxX(), 100 + 1e-9);

    Path sharp;
    sharp.moveTo({ 0, 0 });
    sharp.addArcToPoint({ 100, 0 }, { 100, 100 }, 0);
    EXPECT_EQ(sharp.elements().back().type, Path::ElementType::LineTo);
    EXPECT_EQ(endPoint(sharp), (Point { 100, 0 }));
}

TEST(Path, LeadingPartStopsPartWayAlongTheStroke)
{
    Path square = Path::rect({ 0, 0, 10, 10 });
    Path half = square.leadingPart(0.5);
    EXPECT_NEAR(half.length(), 20, 1e-9);
    EXPECT_EQ(endPoint(half), (Point { 10, 10 }));
    Path most = square.leadingPart(0.9);
    EXPECT_NEAR(most.length(), 36, 1e-9);
    EXPECT_NEAR(endPoint(most).y, 4, 1e-9);
    EXPECT_TRUE(square.leadingPart(0).isEmpty());
    EXPECT_EQ(square.leadingPart(1), square);

    auto ring = Path::arc({ 0, 0 }, 10, -pi / 2, 3 * pi / 2, ArcDirection::Increasing);
    Path quarter = ring.leadingPart(0.25);
    EXPECT_NEAR(endPoint(quarter).x, 10, 0.05);
    EXPECT_NEAR(endPoint(quarter).y, 0, 0.05);
}

TEST(Path, TransformedMovesEveryPoint)
{
    auto moved = Path::rect({ 0, 0, 10, 10 }).transformed(gfx::AffineTransform::makeScale(1, -1));
    EXPECT_EQ(moved.boundingBox(), Rect(0, -10, 10, 10));
}
