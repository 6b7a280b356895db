#include "core/service/VoiceUploadRoot.h"

#include "base/system/UserDefaults.h"
#include "core/state/Singleton.h"

namespace core {

namespace {

    // The path that follows has no leading separator, so the root must end with one.
    std::string withTrailingSeparator(std::string root)
    {
        if (!root.ends_with('/'))
            root += '/';
        return root;
    }

} // namespace

std::string voiceUploadRoot()
{
    auto root = base::UserDefaults::standard().stringForKey(VoiceUploadRootKey);
    if (root && !root->empty())
        return withTrailingSeparator(*root);
    return withTrailingSeparator(Singleton::shared().server());
}

} // namespace core
