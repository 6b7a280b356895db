#include "ScratchFolder.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

namespace bench {

namespace {

    std::vector<std::filesystem::path>& madeFolders()
    {
        static std::vector<std::filesystem::path> folders;
        return folders;
    }

    void removeMadeFolders()
    {
        for (const auto& folder : madeFolders()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }

} // namespace

std::filesystem::path makeScratchFolder(std::string_view prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        return {};
    if (madeFolders().empty())
        std::atexit(removeMadeFolders);
    madeFolders().emplace_back(pattern);
    return pattern;
}

} // namespace bench
