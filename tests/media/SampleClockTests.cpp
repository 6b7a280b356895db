#include "media/SampleClock.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(SampleClock, CountsWholeFramesAtTenthsOfASecondExactly)
{
    base::Clock::TimePoint start {};
    media::SampleClock clock(8000, start);
    for (int tenths = 0; tenths <= 100; ++tenths)
        EXPECT_EQ(clock.framesAt(start + std::chrono::milliseconds(100 * tenths)), 800 * tenths);
    EXPECT_EQ(clock.framesAt(start - 1s), 0);
}

TEST(SampleClock, InstantOfFrameIsTheFirstInstantWithThatManyFrames)
{
    base::Clock::TimePoint start {};
    media::SampleClock clock(11025, start);
    for (int64_t frames : { 1, 7, 11025, 12345, 99999 }) {
        auto instant = clock.instantOfFrame(frames);
        EXPECT_EQ(clock.framesAt(instant), frames);
        EXPECT_EQ(clock.framesAt(instant - 1ns), frames - 1);
    }
}
