#include "childcare/challenge/StepProgress.h"

#include <cmath>
#include <limits>

namespace childcare {

double StepProgress::fraction(int64_t steps, int64_t target)
{
    if (target <= 0)
        return 0;
    return static_cast<double>(steps) / static_cast<double>(target);
}

int64_t StepProgress::percent(int64_t steps, int64_t target)
{
    if (target <= 0)
        return 0;
    // Split so that steps x 100 never has to be formed: whole targets first, then the remainder.
    return steps / target * 100 + steps % target * 100 / target;
}

std::string StepProgress::label(int64_t steps, int64_t target) { return std::to_string(percent(steps, target)) + " %"; }

bool StepProgress::reached(int64_t steps, int64_t target) { return target > 0 && steps >= target; }

int32_t StepProgress::targetFrom(double stored)
{
    if (!std::isfinite(stored) || stored < std::numeric_limits<int32_t>::min()
        || stored > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(std::trunc(stored));
}

} // namespace childcare
