#include "media/SDLAudioOutput.h"

#include "media/MediaError.h"

#include <SDL.h>
#include <chrono>

namespace media {

using namespace std::chrono_literals;

SDLAudioOutput::~SDLAudioOutput() { close(); }

bool SDLAudioOutput::open(const AudioFormat& format, base::Error* error)
{
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        base::setError(error, makeError(MediaError::DeviceUnavailable, SDL_GetError()));
        return false;
    }
    m_subsystemStarted = true;
    SDL_AudioSpec wanted {};
    wanted.freq = static_cast<int>(format.sampleRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = 1024;
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (m_device == 0) {
        base::setError(error, makeError(MediaError::DeviceUnavailable, SDL_GetError()));
        close();
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void SDLAudioOutput::write(std::span<const int16_t> samples)
{
    if (m_device != 0 && !samples.empty())
        SDL_QueueAudio(m_device, samples.data(), static_cast<Uint32>(samples.size_bytes()));
}

void SDLAudioOutput::flush()
{
    if (m_device != 0)
        SDL_ClearQueuedAudio(m_device);
}

base::Duration SDLAudioOutput::lead() const { return 100ms; }

uint32_t SDLAudioOutput::queuedBytes() const { return m_device != 0 ? SDL_GetQueuedAudioSize(m_device) : 0; }

void SDLAudioOutput::close()
{
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    m_device = 0;
    if (m_subsystemStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_subsystemStarted = false;
}

} // namespace media
