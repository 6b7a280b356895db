// media::SDLAudioInput: records from SDL's default audio capture device. SDL's audio thread queues what it
// captures; a read on the main thread takes everything queued so far. Main thread.
#pragma once

#include "media/backends/AudioInput.h"
#include "media/backends/SDLAudioDevice.h"

namespace media {

class SDLAudioInput final : public AudioInput {
public:
    bool start(const AudioFormat& format, base::Error* error = nullptr) override;
    void stop() override;
    void read(std::vector<int16_t>& out) override;

private:
    SDLAudioDevice m_device;
};

} // namespace media
