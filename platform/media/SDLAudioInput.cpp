#include "media/SDLAudioInput.h"

#include "media/MediaError.h"

#include <SDL.h>

namespace media {

SDLAudioInput::~SDLAudioInput() { stop(); }

bool SDLAudioInput::start(const AudioFormat& format, base::Error* error)
{
    stop();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        base::setError(error, makeError(MediaError::DeviceUnavailable, SDL_GetError()));
        return false;
    }
    m_subsystemStarted = true;
    SDL_AudioSpec wanted {};
    wanted.freq = static_cast<int>(format.sampleRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = 512;
    m_device = SDL_OpenAudioDevice(nullptr, 1, &wanted, nullptr, 0);
    if (m_device == 0) {
        base::setError(error, makeError(MediaError::DeviceUnavailable, SDL_GetError()));
        stop();
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void SDLAudioInput::stop()
{
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    m_device = 0;
    if (m_subsystemStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_subsystemStarted = false;
}

void SDLAudioInput::read(std::vector<int16_t>& out)
{
    if (m_device == 0)
        return;
    Uint32 queued = SDL_GetQueuedAudioSize(m_device) / sizeof(int16_t);
    if (queued == 0)
        return;
    size_t start = out.size();
    out.resize(start + queued);
    Uint32 got = SDL_DequeueAudio(m_device, out.data() + start, queued * sizeof(int16_t));
    out.resize(start + got / sizeof(int16_t));
}

} // namespace media
