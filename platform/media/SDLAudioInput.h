// media::SDLAudioInput: records from SDL's default audio capture device. SDL's audio thread queues what it
// captures; a read on the main thread takes everything queued so far. Main thread.
#pragma once

#include "media/AudioInput.h"

#include <cstdint>

namespace media {

class SDLAudioInput final : public AudioInput {
public:
    SDLAudioInput() = default;
    ~SDLAudioInput() override;
    SDLAudioInput(const SDLAudioInput&) = delete;
    SDLAudioInput& operator=(const SDLAudioInput&) = delete;

    bool start(const AudioFormat& format, base::Error* error = nullptr) override;
    void stop() override;
    void read(std::vector<int16_t>& out) override;

private:
    uint32_t m_device { 0 };
    bool m_subsystemStarted { false };
};

} // namespace media
