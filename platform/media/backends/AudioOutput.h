// media::AudioOutput: a sink for played samples (a loudspeaker, or a stand-in that discards or keeps them).
// The player opens it with the data's format and writes samples as the run loop's clock reaches them, keeping
// the output supplied `lead()` ahead so that a real device never runs dry. Main thread.
//
//   output->open(format, &error);
//   output->write(samples); // queued after what was written before
//   output->flush();        // stop, pause or seek: drop what has not been heard
#pragma once

#include "base/time/Clock.h"
#include "base/values/Error.h"
#include "media/formats/AudioFormat.h"

#include <cstdint>
#include <span>

namespace media {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    [[nodiscard]] virtual bool open(const AudioFormat& format, base::Error* error = nullptr) = 0;
    virtual void write(std::span<const int16_t> samples) = 0;
    virtual void flush() = 0;
    // How far ahead of the clock the output wants to be supplied.
    virtual base::Duration lead() const = 0;
};

} // namespace media
