// media::SDLAudioOutput: plays samples on SDL's default audio output device, queued from the main thread
// (SDL's audio thread drains the queue). The device is opened with the data's own format; SDL converts it
// for the hardware. Main thread.
#pragma once

#include "media/backends/AudioOutput.h"
#include "media/backends/SDLAudioDevice.h"

#include <cstdint>

namespace media {

class SDLAudioOutput final : public AudioOutput {
public:
    bool open(const AudioFormat& format, base::Error* error = nullptr) override;
    void write(std::span<const int16_t> samples) override;
    void flush() override;
    base::Duration lead() const override;

    // Bytes handed to SDL that its audio thread has not played yet.
    uint32_t queuedBytes() const;

private:
    SDLAudioDevice m_device;
};

} // namespace media
