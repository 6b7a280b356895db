#include "ui/scroll/ScrollDeceleration.h"

#include <gtest/gtest.h>

namespace {

constexpr double frame = 1.0 / 60;

// Steps `motion` frame by frame until it finishes (or ten seconds pass); returns the final offset.
gfx::Point runToRest(
    ui::ScrollDeceleration& motion, gfx::Point offset, const ui::ScrollLimits& limits, int* frames = nullptr)
{
    int n = 0;
    while (!motion.isFinished() && n < 600) {
        offset = motion.step(offset, limits, frame);
        ++n;
    }
    if (frames)
        *frames = n;
    return offset;
}

ui::ScrollLimits tableLimits(double contentHeight, double topInset = 0)
{
    return ui::ScrollLimits::make({ 320, contentHeight }, { 320, 480 }, { topInset, 0, 0, 0 });
}

TEST(ScrollLimits, RestRangeIncludesInsetsAndFallsBackToMinimumForShortContent)
{
    auto tall = ui::ScrollLimits::make({ 320, 1000 }, { 320, 480 }, { 64, 0, 49, 0 });
    EXPECT_EQ(tall.min, (gfx::Point { 0, -64 }));
    EXPECT_EQ(tall.max, (gfx::Point { 0, 1000 + 49 - 480 }));

    auto shortContent = ui::ScrollLimits::make({ 320, 200 }, { 320, 480 }, { 30, 0, 0, 0 });
    EXPECT_EQ(shortContent.min, (gfx::Point { 0, -30 }));
    EXPECT_EQ(shortContent.max, (gfx::Point { 0, -30 }));
}

TEST(ScrollLimits, RubberBandDampsBeyondEdgesOnlyAndStaysWithinTheBounds)
{
    auto limits = tableLimits(1000);
    gfx::Size bounds { 320, 480 };
    EXPECT_EQ(limits.rubberBanded({ 0, 300 }, bounds), (gfx::Point { 0, 300 }));
    double pulled40 = limits.rubberBanded({ 0, -40 }, bounds).y;
    double pulled80 = limits.rubberBanded({ 0, -80 }, bounds).y;
    EXPECT_GT(pulled40, -40);
    EXPECT_LT(pulled80, pulled40);
    EXPECT_GT(limits.rubberBanded({ 0, -100000 }, bounds).y, -480);
    double pastBottom = limits.rubberBanded({ 0, limits.max.y + 40 }, bounds).y;
    EXPECT_GT(pastBottom, limits.max.y);
    EXPECT_LT(pastBottom, limits.max.y + 40);
}

TEST(ScrollDeceleration, PulledContentSpringsBackExactlyToTheEdge)
{
    ui::ScrollDeceleration motion({ 0, 0 });
    int frames = 0;
    gfx::Point rest = runToRest(motion, { 0, -80 }, tableLimits(1000), &frames);
    EXPECT_EQ(rest, (gfx::Point { 0, 0 }));
    EXPECT_LT(frames, 60);
}

TEST(ScrollDeceleration, InsetSetAfterTheContentPassedItsNewEdgeBringsItBack)
{
    ui::ScrollDeceleration motion({ 0, 0 });
    gfx::Point offset { 0, -100 };
    while (offset.y < -50)
        offset = motion.step(offset, tableLimits(1000), frame);
    EXPECT_EQ(runToRest(motion, offset, tableLimits(1000, 60)), (gfx::Point { 0, -60 }));
}

TEST(ScrollDeceleration, FlingGlidesWithinTheRangeAndSlowsToAStop)
{
    ui::ScrollDeceleration motion({ 0, 1000 });
    auto limits = tableLimits(5000);
    gfx::Point first = motion.step({ 0, 100 }, limits, frame);
    EXPECT_NEAR(first.y, 100 + 1000 * frame, 1);
    gfx::Point rest = runToRest(motion, first, limits);
    EXPECT_GT(rest.y, 500);
    EXPECT_LT(rest.y, 700);
    EXPECT_EQ(motion.velocity(), (gfx::Point { 0, 0 }));
}

TEST(ScrollDeceleration, FlingPastTheEndOvershootsThenSettlesOnTheEdge)
{
    ui::ScrollDeceleration motion({ 0, 2000 });
    auto limits = tableLimits(1000);
    gfx::Point offset { 0, limits.max.y - 10 };
    double furthest = offset.y;
    while (!motion.isFinished()) {
        offset = motion.step(offset, limits, frame);
        furthest = std::max(furthest, offset.y);
    }
    EXPECT_GT(furthest, limits.max.y + 10);
    EXPECT_EQ(offset.y, limits.max.y);
}

TEST(ScrollDeceleration, OneLongStepMovesLikeManyShortOnes)
{
    ui::ScrollDeceleration longStep({ 0, 0 });
    ui::ScrollDeceleration shortSteps({ 0, 0 });
    auto limits = tableLimits(1000);
    gfx::Point a = longStep.step({ 0, -80 }, limits, 0.25);
    gfx::Point b { 0, -80 };
    for (int i = 0; i < 15; ++i)
        b = shortSteps.step(b, limits, frame);
    EXPECT_NEAR(a.y, b.y, 0.5);
}

} // namespace
