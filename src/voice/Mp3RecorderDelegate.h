// voice::Mp3RecorderDelegate: what an Mp3Recorder tells its owner; every operation is optional (empty by
// default). Called on the main thread.
#pragma once

#include "base/values/Value.h"

namespace voice {

class Mp3RecorderDelegate {
public:
    virtual ~Mp3RecorderDelegate() = default;
    // The recording lasted 1 s or less, or its conversion failed; nothing is delivered.
    virtual void failRecord() { }
    // Every metering tick: seconds recorded and the smoothed input level (0 to 1).
    virtual void recording(float /*seconds*/, float /*volume*/) { }
    virtual void beginConvert() { }
    // The whole MP3 file.
    virtual void endConvertWithData(const base::Data& /*mp3*/) { }
};

} // namespace voice
