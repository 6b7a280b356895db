// media::SDLAudioDevice: one open SDL audio device, playback or capture, together with the audio subsystem
// reference it needs. Opening again closes what was open first; closing is safe at any time. Main thread.
#pragma once

#include "base/values/Error.h"
#include "media/formats/AudioFormat.h"

#include <cstdint>

namespace media {

class SDLAudioDevice {
public:
    enum class Direction { Playback, Capture };

    SDLAudioDevice() = default;
    ~SDLAudioDevice();
    SDLAudioDevice(const SDLAudioDevice&) = delete;
    SDLAudioDevice& operator=(const SDLAudioDevice&) = delete;

    // Opens the default device with the data's own format (SDL converts for the hardware) and starts it.
    [[nodiscard]] bool open(Direction direction, const AudioFormat& format, uint16_t bufferSamples, base::Error* error);
    void close();

    // SDL's device id, 0 while closed.
    uint32_t id() const { return m_device; }

private:
    uint32_t m_device { 0 };
    bool m_subsystemStarted { false };
};

} // namespace media
