#include "host/PumpSchedule.h"

#include <gtest/gtest.h>

namespace {

using host::PumpSchedule;

base::Clock::TimePoint at(double seconds)
{
    return base::Clock::TimePoint(base::Clock::ticks(base::Duration(seconds)));
}

TEST(PumpSchedule, WithoutAConnectionSDLIsPolledEveryFrameThroughout)
{
    PumpSchedule schedule(false);
    EXPECT_EQ(schedule.period(at(10)), PumpSchedule::framePeriod);
    EXPECT_TRUE(schedule.pollsEvents(at(10)));
    for (int i = 0; i < PumpSchedule::unseenFrames + 1; ++i)
        schedule.frameEnded(true, false);
    EXPECT_EQ(schedule.period(at(10)), PumpSchedule::framePeriod);
}

TEST(PumpSchedule, AWatchedConnectionIsPolledOnlyForAWhileAfterItsTraffic)
{
    PumpSchedule schedule(true);
    EXPECT_EQ(schedule.period(at(10)), std::nullopt);
    EXPECT_FALSE(schedule.pollsEvents(at(10)));

    schedule.connectionActive(at(10));
    EXPECT_EQ(schedule.period(at(10.4)), PumpSchedule::framePeriod);
    EXPECT_TRUE(schedule.pollsEvents(at(10.4)));
    EXPECT_EQ(schedule.period(at(10.5)), std::nullopt);

    // A connection that failed is polled from then on.
    schedule.connectionLost();
    EXPECT_EQ(schedule.period(at(100)), PumpSchedule::framePeriod);
    EXPECT_TRUE(schedule.pollsEvents(at(100)));
}

TEST(PumpSchedule, AnAnimationIsWokenEveryFrameAndSlowlyOnceItsFramesShowNothing)
{
    PumpSchedule schedule(true);
    schedule.frameEnded(true, true);
    EXPECT_EQ(schedule.period(at(1)), PumpSchedule::framePeriod);
    // Frame wake-ups leave the events to the connection's watch.
    EXPECT_FALSE(schedule.pollsEvents(at(1)));

    for (int i = 0; i < PumpSchedule::unseenFrames - 1; ++i)
        schedule.frameEnded(true, false);
    EXPECT_EQ(schedule.period(at(1)), PumpSchedule::framePeriod);
    schedule.frameEnded(true, false);
    EXPECT_EQ(schedule.period(at(1)), PumpSchedule::unseenPeriod);

    // One frame showing a change brings every frame back.
    schedule.frameEnded(true, true);
    EXPECT_EQ(schedule.period(at(1)), PumpSchedule::framePeriod);
    // Traffic on the connection polls every frame even for an unseen animation.
    for (int i = 0; i < PumpSchedule::unseenFrames; ++i)
        schedule.frameEnded(true, false);
    schedule.connectionActive(at(1));
    EXPECT_EQ(schedule.period(at(1.1)), PumpSchedule::framePeriod);

    schedule.frameEnded(false, false);
    EXPECT_EQ(schedule.period(at(2)), std::nullopt);
}

} // namespace
