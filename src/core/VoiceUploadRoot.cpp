#include "core/VoiceUploadRoot.h"

#include "base/UserDefaults.h"

namespace core {

std::string voiceUploadRoot()
{
    return base::UserDefaults::standard().stringForKey(VoiceUploadRootKey).value_or(DefaultVoiceUploadRoot);
}

} // namespace core
