// The smoothed input level shown while recording: the channel's peak in dBFS turned into a linear amplitude
// (0 to 1) and blended into the previous level with weight 0.05, once per 0.1 s metering tick.
#pragma once

#include <cmath>

namespace voice {

inline double smoothedInputLevel(double previous, float peakDecibels)
{
    return 0.05 * std::pow(10.0, 0.05 * peakDecibels) + 0.95 * previous;
}

} // namespace voice
