#include "voice/RecordingMeter.h"

#include <cmath>

namespace voice {

void RecordingMeter::tick(media::AudioRecorder* recorder)
{
    m_seconds += 0.1f;
    float peak = media::AudioRecorder::MinimumPower;
    if (recorder) {
        recorder->updateMeters();
        peak = recorder->peakPowerForChannel(0);
    }
    m_level = 0.05 * std::pow(10.0, 0.05 * peak) + 0.95 * m_level;
}

} // namespace voice
