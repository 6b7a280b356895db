#include "media/backends/SDLAudioInput.h"

#include "base/loop/MainThread.h"

#include <SDL.h>

namespace media {

bool SDLAudioInput::start(const AudioFormat& format, base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    return m_device.open(SDLAudioDevice::Direction::Capture, format, 512, error);
}

void SDLAudioInput::stop() { m_device.close(); }

void SDLAudioInput::read(std::vector<int16_t>& out)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_device.id() == 0)
        return;
    Uint32 queued = SDL_GetQueuedAudioSize(m_device.id()) / sizeof(int16_t);
    if (queued == 0)
        return;
    size_t start = out.size();
    out.resize(start + queued);
    Uint32 got = SDL_DequeueAudio(m_device.id(), out.data() + start, queued * sizeof(int16_t));
    out.resize(start + got / sizeof(int16_t));
}

} // namespace media
