#include "ThreadPromiseCheck.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace test {

namespace {

    std::string readFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Whether a comment line of the header makes the promise.
    bool promisesMainThread(const std::string& header)
    {
        static constexpr std::string_view phrases[]
            = { "Main thread", "belongs to the main thread", "belong to the main thread", "only on the main thread" };
        std::istringstream lines(header);
        for (std::string line; std::getline(lines, line);) {
            size_t comment = line.find("//");
            if (comment == std::string::npos)
                continue;
            std::string_view text = std::string_view(line).substr(comment);
            for (std::string_view phrase : phrases) {
                if (text.find(phrase) != std::string_view::npos)
                    return true;
            }
        }
        return false;
    }

} // namespace

std::vector<std::filesystem::path> uncheckedMainThreadPromises(const std::filesystem::path& root)
{
    std::vector<std::filesystem::path> unchecked;
    for (const char* top : { "platform", "src", "tools", "app" }) {
        if (!std::filesystem::is_directory(root / top))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / top)) {
            const auto& header = entry.path();
            if (header.extension() != ".h" || !promisesMainThread(readFile(header)))
                continue;
            auto source = std::filesystem::path(header).replace_extension(".cpp");
            if (std::filesystem::exists(source)
                && readFile(source).find("BASE_ASSERT_MAIN_THREAD()") == std::string::npos)
                unchecked.push_back(std::filesystem::relative(header, root));
        }
    }
    std::sort(unchecked.begin(), unchecked.end());
    return unchecked;
}

} // namespace test
