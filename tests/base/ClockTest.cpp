#include "base/Clock.h"
#include "base/ManualClock.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

TEST(Clock, DateNowFollowsTheInstalledClock)
{
    auto start = base::Date::fromTimeIntervalSince1970(1400000000);
    auto clock = base::ManualClock::install(start);
    EXPECT_EQ(base::Date::now(), start);
    EXPECT_FALSE(clock->advancesByItself());

    base::Clock::install(base::Clock::system());
    EXPECT_GT(base::Date::now().timeIntervalSinceDate(start), 0); // the system's time is later than 2014
    EXPECT_TRUE(base::Clock::current()->advancesByItself());
}

TEST(Clock, TicksRoundDelaysAndTreatNegativeOnesAsNone)
{
    EXPECT_EQ(base::Clock::ticks(0.1s), 100ms);
    EXPECT_EQ(base::Clock::ticks(base::Duration(-1)), base::Clock::TimePoint::duration::zero());
    EXPECT_EQ(base::Clock::ticks(base::Duration(1e-10)), base::Clock::TimePoint::duration::zero());
}

} // namespace
