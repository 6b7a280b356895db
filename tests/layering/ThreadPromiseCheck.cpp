#include "ThreadPromiseCheck.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

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
        static const std::regex promise(
            R"(//.*(\bMain thread\b|\bbelongs? to the main thread\b|\bonly on the main thread\b))");
        std::istringstream lines(header);
        for (std::string line; std::getline(lines, line);) {
            if (std::regex_search(line, promise))
                return true;
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
