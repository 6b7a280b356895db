// voice::RecordingMeter: what a recorder shows while it records, updated once per 0.1 s metering tick: the
// seconds recorded, and the smoothed input level, the channel's peak in dBFS turned into a linear amplitude
// (0 to 1) and blended into the previous level with weight 0.05.
//
//   m_meter.restart(); ...; m_meter.tick(m_recorder.get()); delegate->recording(m_meter.seconds(), ...);
#pragma once

#include "base/time/Clock.h"
#include "media/playback/AudioRecorder.h"

namespace voice {

class RecordingMeter {
public:
    static constexpr base::Duration Interval { 0.1 };

    // Counts the time from zero again; the level carries on from where it was.
    void restart() { m_seconds = 0; }
    // One tick: reads the recorder's peak on channel 0, or silence when there is no recorder.
    void tick(media::AudioRecorder* recorder);

    float seconds() const { return m_seconds; }
    double level() const { return m_level; }

private:
    float m_seconds { 0 };
    double m_level { 0 };
};

} // namespace voice
