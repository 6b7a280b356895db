#include "media/backends/SDLAudioOutput.h"

#include "base/loop/MainThread.h"

#include <SDL.h>
#include <chrono>

namespace media {

using namespace std::chrono_literals;

bool SDLAudioOutput::open(const AudioFormat& format, base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    return m_device.open(SDLAudioDevice::Direction::Playback, format, 1024, error);
}

void SDLAudioOutput::write(std::span<const int16_t> samples)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_device.id() != 0 && !samples.empty())
        SDL_QueueAudio(m_device.id(), samples.data(), static_cast<Uint32>(samples.size_bytes()));
}

void SDLAudioOutput::flush()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_device.id() != 0)
        SDL_ClearQueuedAudio(m_device.id());
}

base::Duration SDLAudioOutput::lead() const { return 100ms; }

uint32_t SDLAudioOutput::queuedBytes() const { return m_device.id() != 0 ? SDL_GetQueuedAudioSize(m_device.id()) : 0; }

} // namespace media
