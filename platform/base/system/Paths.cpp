#include "base/system/Paths.h"

#include "base/system/Files.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace base {

namespace {

    constexpr const char* applicationFolder = "lumet-companion";

    std::filesystem::path variable(const char* name)
    {
        const char* value = std::getenv(name);
        return value && *value ? std::filesystem::path(value) : std::filesystem::path();
    }

    std::filesystem::path homeFolder()
    {
        if (auto home = variable("HOME"); !home.empty())
            return home;
        if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
            return entry->pw_dir;
        return std::filesystem::temp_directory_path();
    }

    // A relative XDG value is invalid by the XDG rules and is ignored.
    std::filesystem::path xdgFolder(const char* name, const char* fallbackBelowHome)
    {
        auto folder = variable(name);
        if (folder.empty() || folder.is_relative())
            folder = homeFolder() / fallbackBelowHome;
        return folder / applicationFolder;
    }

    std::filesystem::path created(std::filesystem::path folder)
    {
        // A folder that cannot be made shows as the failure of the first file written into it.
        (void)Files::createFolders(folder);
        return folder;
    }

} // namespace

std::filesystem::path Paths::dataRoot()
{
    if (auto home = variable("LUMET_HOME"); !home.empty())
        return created(std::filesystem::absolute(home));
    return created(xdgFolder("XDG_DATA_HOME", ".local/share"));
}

std::filesystem::path Paths::documents() { return created(dataRoot() / "Documents"); }

std::filesystem::path Paths::caches() { return created(dataRoot() / "Caches"); }

std::filesystem::path Paths::temporary() { return created(dataRoot() / "tmp"); }

std::filesystem::path Paths::preferences()
{
    if (auto home = variable("LUMET_HOME"); !home.empty())
        return created(std::filesystem::absolute(home) / "Preferences");
    return created(xdgFolder("XDG_CONFIG_HOME", ".config"));
}

} // namespace base
