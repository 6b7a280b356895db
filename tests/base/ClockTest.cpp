#include "base/time/Clock.h"
#include "base/time/ManualClock.h"

#include <gtest/gtest.h>

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

} // namespace
