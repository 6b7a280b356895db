#include "media/playback/AudioSession.h"

#include "base/loop/MainThread.h"

namespace media {

std::shared_ptr<AudioSession> AudioSession::shared()
{
    static const std::shared_ptr<AudioSession> session = std::make_shared<AudioSession>();
    return session;
}

bool AudioSession::setCategory(Category category, base::Error*)
{
    BASE_ASSERT_MAIN_THREAD();
    m_category = category;
    return true;
}

bool AudioSession::setActive(bool active, base::Error*)
{
    BASE_ASSERT_MAIN_THREAD();
    m_active = active;
    return true;
}

bool AudioSession::overrideOutputAudioPort(PortOverride port, base::Error*)
{
    BASE_ASSERT_MAIN_THREAD();
    m_override = port;
    return true;
}

} // namespace media
