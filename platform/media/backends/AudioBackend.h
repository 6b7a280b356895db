// media::AudioBackend: where recorders get their inputs and players their outputs. The application chooses
// one at start-up: SDL2 audio devices ("sdl"), nothing ("null": inputs capture nothing, outputs discard), or a
// WAVE file played into every recording ("script:<path>"), from the requested name or else the LUMET_AUDIO
// environment variable. The chosen backend is made when it is first asked for, so that opening the devices
// stays off the way to the first frame; when they cannot be opened it falls back to "null" with a logged
// error, and posts UnavailableNotification (base::NotificationCenter, no object) so that the application can
// tell the user, once. Until a choice is made the null backend is current, so tests and tools never reach a device by
// accident. Main thread.
//
//   media::AudioBackend::chooseAtStartUp();                       // LUMET_AUDIO, else "sdl"
//   media::AudioBackend::setCurrent(scriptedBackend);             // tests
//   auto input = media::AudioBackend::current()->makeInput();
#pragma once

#include "base/values/Error.h"
#include "media/backends/AudioInput.h"
#include "media/backends/AudioOutput.h"

#include <memory>
#include <string>
#include <string_view>

namespace media {

class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    virtual std::shared_ptr<AudioInput> makeInput() = 0;
    virtual std::shared_ptr<AudioOutput> makeOutput() = 0;
    virtual std::string name() const = 0;

    // Posted when the backend chosen at start-up could not be made and "null" stands in for it.
    static constexpr const char* UnavailableNotification = "media.AudioBackendUnavailable";

    static std::shared_ptr<AudioBackend> current();
    static void setCurrent(std::shared_ptr<AudioBackend> backend);

    // Makes the backend `requested` names ("sdl", "null", "script:<wav path>"); an empty request reads
    // LUMET_AUDIO and defaults to "sdl". An unknown name or a backend that cannot open gives "null", the
    // cause in `error`.
    static std::shared_ptr<AudioBackend> make(std::string_view requested, base::Error* error = nullptr);
    // Takes the request (or LUMET_AUDIO) now and makes its backend at the first `current()`.
    static void chooseAtStartUp(std::string_view requested = {});
};

} // namespace media
