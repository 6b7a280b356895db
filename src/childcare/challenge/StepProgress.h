// childcare::StepProgress: how far a step count is towards a challenge's target: the fraction for the
// progress ring, the whole percentage for its label ("50 %") and whether the target is reached. A target of
// 0 or less has no progress: fraction 0, "0 %", never reached. Pure functions, any thread.
//
//   ring->setProgress(static_cast<float>(childcare::StepProgress::fraction(steps, target)));
//   label->setText(childcare::StepProgress::label(steps, target));
#pragma once

#include <cstdint>
#include <string>

namespace childcare {

class StepProgress {
public:
    static double fraction(int64_t steps, int64_t target);
    // steps x 100 / target, truncated, without overflowing for any step count.
    static int64_t percent(int64_t steps, int64_t target);
    static std::string label(int64_t steps, int64_t target);
    [[nodiscard]] static bool reached(int64_t steps, int64_t target);
    // A stored target (a whole number kept as a double) as the 32-bit target of the progress screen; 0 for
    // one outside that range.
    static int32_t targetFrom(double stored);
};

} // namespace childcare
