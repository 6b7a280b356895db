// voice::RecordAudioDelegate: what a RecordAudio tells its owner. The status is required; the rest are
// optional (empty by default). Called on the main thread.
#pragma once

namespace voice {

class RecordAudioDelegate {
public:
    virtual ~RecordAudioDelegate() = default;
    // 0 playback started; 1 playback stopped, finished or failed to start; 2 the player met a decoding error.
    virtual void RecordStatus(int status) = 0;
    // The recording lasted 1 s or less and has been discarded.
    virtual void failRecord() { }
    // Every metering tick: seconds recorded and the smoothed input level (0 to 1).
    virtual void recording(float /*seconds*/, float /*volume*/) { }
};

} // namespace voice
