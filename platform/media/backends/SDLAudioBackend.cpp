#include "media/backends/SDLAudioBackend.h"

#include "base/loop/MainThread.h"
#include "media/backends/SDLAudioInput.h"
#include "media/backends/SDLAudioOutput.h"

namespace media {

std::shared_ptr<SDLAudioBackend> SDLAudioBackend::open(base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    SDLAudioOutput probe;
    if (!probe.open(AudioFormat { 8000, 1 }, error))
        return nullptr;
    return std::make_shared<SDLAudioBackend>();
}

std::shared_ptr<AudioInput> SDLAudioBackend::makeInput() { return std::make_shared<SDLAudioInput>(); }

std::shared_ptr<AudioOutput> SDLAudioBackend::makeOutput() { return std::make_shared<SDLAudioOutput>(); }

} // namespace media
