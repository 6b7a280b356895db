// The refresh engine on its own: the pull measured beyond each edge, the drag rule at and around the
// threshold, and a look's own states beside the phases.
#include "kit/refresh/RefreshEngine.h"

#include <gtest/gtest.h>

namespace {

using kit::RefreshEngine;
using Phase = RefreshEngine::Phase;
using Itself = RefreshEngine::ThresholdItself;
namespace Direction = kit::RefreshDirection;

TEST(RefreshEngine, PullIsMeasuredFromEachEdgesRestWithItsInset)
{
    gfx::Size frame { 320, 480 };
    gfx::Size content { 400, 1000 };
    gfx::EdgeInsets rest { 20, 5, 30, 7 };
    EXPECT_EQ(RefreshEngine(Direction::Top).pullBeyond({ 0, -84 }, frame, content, rest), 64);
    EXPECT_EQ(RefreshEngine(Direction::Left).pullBeyond({ -15, 0 }, frame, content, rest), 10);
    // The end of the visible area less the bottom inset, past the end of the content.
    EXPECT_EQ(RefreshEngine(Direction::Bottom).pullBeyond({ 0, 600 }, frame, content, rest), 600 + 480 - 30 - 1000);
    EXPECT_EQ(RefreshEngine(Direction::Right).pullBeyond({ 100, 0 }, frame, content, rest), 100 + 320 - 7 - 400);
    EXPECT_LT(RefreshEngine(Direction::Top).pullBeyond({ 0, 10 }, frame, content, {}), 0) << "inside the edge";
}

TEST(RefreshEngine, PullingNeedsStrictlyMoreThanTheThresholdAndTheThresholdItselfIsTheLooksChoice)
{
    RefreshEngine engine(Direction::Top);
    EXPECT_FALSE(engine.dragStep(64, 64));
    ASSERT_EQ(engine.dragStep(64.5, 64), Phase::Pulling);
    engine.moveTo(Phase::Pulling);
    EXPECT_FALSE(engine.dragStep(70, 64));
    EXPECT_EQ(engine.dragStep(64, 64, Itself::Inside), Phase::Normal);
    EXPECT_FALSE(engine.dragStep(64, 64, Itself::Beyond));
    EXPECT_EQ(engine.dragStep(63.5, 64, Itself::Beyond), Phase::Normal);
    engine.moveTo(Phase::Refreshing);
    EXPECT_FALSE(engine.dragStep(0, 64)) << "a refreshing edge ignores drags";
    EXPECT_FALSE(engine.dragStep(100, 64));
}

TEST(RefreshEngine, ALooksOwnStateIsKeptAsGivenAndHoldsDragsUntilAPhaseReplacesIt)
{
    constexpr RefreshEngine::StateNumbers numbers { 1, 2, 3 };
    RefreshEngine engine(Direction::Bottom);
    engine.setNumberedState(4, numbers);
    EXPECT_EQ(engine.numberedState(numbers), 4);
    EXPECT_FALSE(engine.isRefreshing());
    EXPECT_FALSE(engine.dragStep(100, 64));
    engine.setNumberedState(3, numbers);
    EXPECT_EQ(engine.numberedState(numbers), 3);
    EXPECT_TRUE(engine.isRefreshing());
    engine.setNumberedState(1, numbers);
    EXPECT_EQ(engine.phase(), Phase::Pulling);
}

} // namespace
