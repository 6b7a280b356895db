// media::SDLAudioBackend: real audio devices through SDL2 (capture for recorders, playback for players).
// `open` checks that SDL's audio starts and that the default output device opens, so that start-up can fall
// back to the null backend on a machine without sound. Main thread.
#pragma once

#include "media/backends/AudioBackend.h"

namespace media {

class SDLAudioBackend final : public AudioBackend {
public:
    // Null, with the reason in `error`, when no output device opens.
    static std::shared_ptr<SDLAudioBackend> open(base::Error* error = nullptr);

    std::shared_ptr<AudioInput> makeInput() override;
    std::shared_ptr<AudioOutput> makeOutput() override;
    std::string name() const override { return "sdl"; }
};

} // namespace media
