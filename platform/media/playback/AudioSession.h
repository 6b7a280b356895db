// media::AudioSession: the process's one audio session. On the phone platform it routes sound; here it records
// the category, the active flag and the output override that the callers set, so tests can check them. Main
// thread.
//
//   auto session = media::AudioSession::shared();
//   session->setCategory(media::AudioSession::Category::PlayAndRecord, &error);
//   session->setActive(true, &error);
#pragma once

#include "base/values/Error.h"

#include <memory>

namespace media {

class AudioSession {
public:
    enum class Category { SoloAmbient, Ambient, Playback, Record, PlayAndRecord };
    enum class PortOverride { None, Speaker };

    static std::shared_ptr<AudioSession> shared();

    [[nodiscard]] bool setCategory(Category category, base::Error* error = nullptr);
    Category category() const { return m_category; }

    [[nodiscard]] bool setActive(bool active, base::Error* error = nullptr);
    bool isActive() const { return m_active; }

    [[nodiscard]] bool overrideOutputAudioPort(PortOverride port, base::Error* error = nullptr);
    PortOverride outputOverride() const { return m_override; }

private:
    Category m_category { Category::SoloAmbient };
    bool m_active { false };
    PortOverride m_override { PortOverride::None };
};

} // namespace media
