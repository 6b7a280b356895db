#include "gfx/geometry/Rect.h"
#include "gfx/geometry/EdgeInsets.h"

#include <gtest/gtest.h>

using gfx::Rect;

TEST(Rect, ContainsIsHalfOpen)
{
    Rect r(10, 20, 30, 40);
    EXPECT_TRUE(r.contains({ 10, 20 }));
    EXPECT_TRUE(r.contains({ 39.999, 59.999 }));
    EXPECT_FALSE(r.contains({ 40, 30 }));
    EXPECT_FALSE(r.contains({ 20, 60 }));
    EXPECT_FALSE(r.contains({ 9.999, 30 }));
    EXPECT_FALSE(Rect(0, 0, 0, 10).contains({ 0, 5 }));
}

TEST(Rect, NullRectangleContainsNothingAndStaysNull)
{
    Rect null = Rect::null();
    EXPECT_TRUE(null.isNull());
    EXPECT_TRUE(null.isEmpty());
    EXPECT_FALSE(null.contains({ 0, 0 }));
    EXPECT_TRUE(null.insetBy(-10, -10).isNull());
    EXPECT_TRUE(null.offsetBy(5, 5).isNull());
    EXPECT_TRUE(null.integral().isNull());
    EXPECT_EQ(null, Rect::null());
    EXPECT_NE(null, Rect::zero());
    EXPECT_FALSE(Rect::zero().isNull());
}

TEST(Rect, GettersStandardizeNegativeSizes)
{
    Rect r(10, 10, -4, -6);
    EXPECT_EQ(r.minX(), 6);
    EXPECT_EQ(r.maxX(), 10);
    EXPECT_EQ(r.minY(), 4);
    EXPECT_EQ(r.width(), 4);
    EXPECT_EQ(r.midY(), 7);
    EXPECT_EQ(r, Rect(6, 4, 4, 6));
    EXPECT_TRUE(r.contains({ 6, 4 }));
}

TEST(Rect, IntersectionIsNullWhenDisjointAndThinWhenTouching)
{
    Rect a(0, 0, 10, 10);
    EXPECT_EQ(a.intersection(Rect(5, 5, 10, 10)), Rect(5, 5, 5, 5));
    EXPECT_TRUE(a.intersection(Rect(11, 0, 5, 5)).isNull());
    EXPECT_EQ(a.intersection(Rect(10, 2, 5, 5)), Rect(10, 2, 0, 5));
    EXPECT_TRUE(a.intersection(Rect::null()).isNull());
}

TEST(Rect, DivideSlicesFromEachEdgeAndClampsTheAmount)
{
    Rect r(0, 0, 100, 50);
    auto [left, rest] = r.divided(20, Rect::Edge::MinX);
    EXPECT_EQ(left, Rect(0, 0, 20, 50));
    EXPECT_EQ(rest, Rect(20, 0, 80, 50));
    auto [right, remainder] = r.divided(20, Rect::Edge::MaxX);
    EXPECT_EQ(right, Rect(80, 0, 20, 50));
    EXPECT_EQ(remainder, Rect(0, 0, 80, 50));
    auto [bottom, top] = r.divided(10, Rect::Edge::MaxY);
    EXPECT_EQ(bottom, Rect(0, 40, 100, 10));
    EXPECT_EQ(top, Rect(0, 0, 100, 40));
    auto [all, none] = r.divided(500, Rect::Edge::MinX);
    EXPECT_EQ(all, r);
    EXPECT_EQ(none, Rect(100, 0, 0, 50));
    EXPECT_EQ(r.divided(-5, Rect::Edge::MinY).first, Rect(0, 0, 100, 0));
}

TEST(Rect, InsetShrinksGrowsAndGoesNullWhenOverdone)
{
    Rect r(0, 0, 40, 20);
    EXPECT_EQ(r.insetBy(2, 2), Rect(2, 2, 36, 16));
    EXPECT_EQ(r.insetBy(-17, -17), Rect(-17, -17, 74, 54));
    EXPECT_EQ(r.insetBy(10, 10), Rect(10, 10, 20, 0));
    EXPECT_TRUE(r.insetBy(0, 10.5).isNull());
}

TEST(Rect, IntegralFloorsTheOriginAndCeilsTheFarEdges)
{
    EXPECT_EQ(Rect(0.5, 1.2, 10.2, 3.3).integral(), Rect(0, 1, 11, 4));
    EXPECT_EQ(Rect(-0.5, -1.5, 1, 1).integral(), Rect(-1, -2, 2, 2));
    EXPECT_EQ(Rect(3, 4, 5, 6).integral(), Rect(3, 4, 5, 6));
}

TEST(Rect, OffsetAndEdgeInsets)
{
    EXPECT_EQ(Rect(1, 2, 3, 4).offsetBy(gfx::Point { 10, -2 }), Rect(11, 0, 3, 4));
    gfx::EdgeInsets insets { 64, 5, 10, 15 };
    EXPECT_EQ(insets.inset(Rect(0, 0, 320, 480)), Rect(5, 64, 300, 406));
}
