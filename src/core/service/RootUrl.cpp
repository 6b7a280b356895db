#include "core/service/RootUrl.h"

#include "base/system/UserDefaults.h"

#include <mutex>

namespace core {

namespace {

    struct LaunchRoot {
        std::mutex mutex;
        std::optional<std::string> root;
    };

    LaunchRoot& launchRoot()
    {
        static LaunchRoot launch;
        return launch;
    }

    std::optional<std::string> launchRootUrl()
    {
        std::lock_guard lock(launchRoot().mutex);
        return launchRoot().root;
    }

} // namespace

std::string rootUrl()
{
    if (auto launch = launchRootUrl())
        return *launch;
    return base::UserDefaults::standard().stringForKey(RootUrlKey).value_or(DefaultRootUrl);
}

void setLaunchRootUrl(std::optional<std::string> root)
{
    std::lock_guard lock(launchRoot().mutex);
    launchRoot().root = std::move(root);
}

void keepLaunchRootUrl()
{
    auto launch = launchRootUrl();
    if (!launch)
        return;
    auto& defaults = base::UserDefaults::standard();
    defaults.setObject(base::Value(*launch), RootUrlKey);
    // synchronize() logs a failed write; the server stays in use for this launch either way.
    (void)defaults.synchronize();
}

} // namespace core
