// media::NullAudioOutput: an output that accepts and discards every sample, for machines without sound.
#pragma once

#include "media/backends/AudioOutput.h"

namespace media {

class NullAudioOutput final : public AudioOutput {
public:
    bool open(const AudioFormat&, base::Error* = nullptr) override { return true; }
    void write(std::span<const int16_t>) override { }
    void flush() override { }
    base::Duration lead() const override { return base::Duration::zero(); }
};

} // namespace media
