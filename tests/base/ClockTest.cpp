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

TEST(Clock, CurrentInstantReadsWhicheverClockIsInstalled)
{
    auto clock = base::ManualClock::install(base::Date::fromTimeIntervalSince1970(1400000000));
    auto frozen = base::Clock::currentInstant();
    EXPECT_EQ(frozen, clock->now());
    clock->advance(base::Duration(2));
    EXPECT_EQ(base::Clock::currentInstant() - frozen, base::Clock::ticks(base::Duration(2)));

    base::Clock::install(nullptr); // the system clock again
    auto before = std::chrono::steady_clock::now();
    auto read = base::Clock::currentInstant();
    EXPECT_GE(read, before);
    EXPECT_LE(read, std::chrono::steady_clock::now());
}

} // namespace
