#include "media/backends/SDLAudioDevice.h"

#include "base/loop/MainThread.h"
#include "media/backends/AudioLibraryMessages.h"
#include "media/playback/MediaError.h"

#include <SDL.h>

namespace media {

SDLAudioDevice::~SDLAudioDevice() { close(); }

bool SDLAudioDevice::open(Direction direction, const AudioFormat& format, uint16_t bufferSamples, base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    close();
    quietAudioLibraryMessages();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        base::setError(error, makeError(MediaError::DeviceUnavailable, SDL_GetError()));
        return false;
    }
    m_subsystemStarted = true;
    SDL_AudioSpec wanted {};
    wanted.freq = static_cast<int>(format.sampleRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = bufferSamples;
    int isCapture = direction == Direction::Capture ? 1 : 0;
    m_device = SDL_OpenAudioDevice(nullptr, isCapture, &wanted, nullptr, 0);
    if (m_device == 0) {
        base::setError(error, makeError(MediaError::DeviceUnavailable, SDL_GetError()));
        close();
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void SDLAudioDevice::close()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    m_device = 0;
    if (m_subsystemStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_subsystemStarted = false;
}

} // namespace media
