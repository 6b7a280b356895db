// The arithmetic of the challenge's progress: fractions and whole percentages, targets that cannot be
// followed, and counts too large to multiply.
#include "childcare/challenge/StepProgress.h"

#include <gtest/gtest.h>

#include <limits>

using childcare::StepProgress;

TEST(ChallengeStepProgress, PercentagesAreTruncatedAndMayPassAHundred)
{
    EXPECT_EQ(StepProgress::label(1500, 3000), "50 %");
    EXPECT_EQ(StepProgress::label(3500, 3000), "116 %");
    EXPECT_EQ(StepProgress::label(2999, 3000), "99 %");
    EXPECT_DOUBLE_EQ(StepProgress::fraction(1500, 3000), 0.5);
    EXPECT_FALSE(StepProgress::reached(2999, 3000));
    EXPECT_TRUE(StepProgress::reached(3000, 3000));
}

TEST(ChallengeStepProgress, ATargetOfNothingOrLessHasNoProgressAndIsNeverReached)
{
    for (int64_t target : { 0, -3000 }) {
        EXPECT_EQ(StepProgress::fraction(500, target), 0);
        EXPECT_EQ(StepProgress::label(500, target), "0 %");
        EXPECT_FALSE(StepProgress::reached(500, target));
    }
}

TEST(ChallengeStepProgress, AHugeCountDoesNotOverflow)
{
    int64_t huge = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(StepProgress::percent(huge, 100), huge);
    EXPECT_EQ(StepProgress::percent(huge / 50, 3000), huge / 50 / 3000 * 100 + huge / 50 % 3000 * 100 / 3000);
}

TEST(ChallengeStepProgress, AStoredTargetOutside32BitsIsNoTarget)
{
    EXPECT_EQ(StepProgress::targetFrom(6000), 6000);
    EXPECT_EQ(StepProgress::targetFrom(1e12), 0);
    EXPECT_EQ(StepProgress::targetFrom(-1e12), 0);
}
