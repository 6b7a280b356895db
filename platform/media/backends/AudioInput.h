// media::AudioInput: a source of recorded samples (a microphone, or a script in tests). The recorder starts it,
// then pulls what has been captured whenever it needs to know the recording's length or level, so the
// recording's time is the count of samples captured, never the wall clock. Main thread.
//
//   input->start(format, &error);
//   std::vector<int16_t> samples; input->read(samples); // everything captured up to now
#pragma once

#include "base/values/Error.h"
#include "media/formats/AudioFormat.h"

#include <cstdint>
#include <vector>

namespace media {

class AudioInput {
public:
    virtual ~AudioInput() = default;

    [[nodiscard]] virtual bool start(const AudioFormat& format, base::Error* error = nullptr) = 0;
    virtual void stop() = 0;
    // Appends to `out` the interleaved samples captured since the previous read, up to the present.
    virtual void read(std::vector<int16_t>& out) = 0;
};

} // namespace media
