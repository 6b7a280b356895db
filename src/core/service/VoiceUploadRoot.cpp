#include "core/service/VoiceUploadRoot.h"

#include "base/system/UserDefaults.h"
#include "core/state/Singleton.h"

namespace core {

std::string voiceUploadRoot()
{
    if (auto root = base::UserDefaults::standard().stringForKey(VoiceUploadRootKey))
        return *root;
    std::string server = Singleton::shared().server();
    if (!server.ends_with('/'))
        server += '/';
    return server;
}

} // namespace core
