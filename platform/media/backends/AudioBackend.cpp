#include "media/backends/AudioBackend.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "media/backends/SDLAudioBackend.h"
#include "media/backends/ScriptedAudioBackend.h"

#include <cstdlib>
#include <optional>

namespace media {

namespace {

    std::shared_ptr<AudioBackend>& currentBackend()
    {
        static std::shared_ptr<AudioBackend> backend = std::make_shared<ScriptedAudioBackend>();
        return backend;
    }

    // The name chosen at start-up whose backend is not made yet: opening a device can take a tenth of a
    // second on a machine without sound, so it waits for the first recorder or player.
    std::optional<std::string>& pendingChoice()
    {
        static std::optional<std::string> choice;
        return choice;
    }

    std::string_view resolvedName(std::string_view requested)
    {
        if (!requested.empty())
            return requested;
        const char* fromEnvironment = std::getenv("LUMET_AUDIO");
        return fromEnvironment && *fromEnvironment ? fromEnvironment : "sdl";
    }

    std::shared_ptr<AudioBackend> fallBackToNull(
        std::string_view requested, const base::Error& cause, base::Error* error)
    {
        base::log("audio: cannot use \"" + std::string(requested) + "\" (" + cause.localizedDescription()
            + "), playing and recording nothing");
        if (error)
            *error = cause;
        return std::make_shared<ScriptedAudioBackend>();
    }

} // namespace

std::shared_ptr<AudioBackend> AudioBackend::current()
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto& choice = pendingChoice()) {
        auto name = std::move(*choice);
        choice.reset();
        base::Error failure;
        currentBackend() = make(name, &failure);
        if (!failure.isEmpty())
            base::NotificationCenter::defaultCenter().post(UnavailableNotification);
    }
    return currentBackend();
}

void AudioBackend::setCurrent(std::shared_ptr<AudioBackend> backend)
{
    BASE_ASSERT_MAIN_THREAD();
    pendingChoice().reset();
    currentBackend() = backend ? std::move(backend) : std::make_shared<ScriptedAudioBackend>();
}

std::shared_ptr<AudioBackend> AudioBackend::make(std::string_view requested, base::Error* error)
{
    requested = resolvedName(requested);
    base::Error cause;
    if (requested == "null")
        return std::make_shared<ScriptedAudioBackend>();
    if (requested == "sdl") {
        if (auto backend = SDLAudioBackend::open(&cause))
            return backend;
        return fallBackToNull(requested, cause, error);
    }
    constexpr std::string_view scriptPrefix = "script:";
    if (requested.starts_with(scriptPrefix)) {
        if (auto backend = ScriptedAudioBackend::makeWithWaveFile(requested.substr(scriptPrefix.size()), &cause))
            return backend;
        return fallBackToNull(requested, cause, error);
    }
    return fallBackToNull(requested,
        base::Error(base::Error::FoundationDomain, 0,
            { { base::Value(base::Error::LocalizedDescriptionKey), base::Value("unknown audio backend") } }),
        error);
}

void AudioBackend::chooseAtStartUp(std::string_view requested)
{
    setCurrent(nullptr);
    pendingChoice() = std::string(resolvedName(requested));
}

} // namespace media
