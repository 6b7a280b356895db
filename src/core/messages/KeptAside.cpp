#include "core/messages/KeptAside.h"

#include "base/system/Log.h"

#include <sys/stat.h>
#include <system_error>

namespace core {

std::filesystem::path keepAside(const std::filesystem::path& file)
{
    for (int n = 1; n < 1000; ++n) {
        std::filesystem::path aside = file;
        aside += ".corrupt-" + std::to_string(n);
        std::error_code error;
        if (std::filesystem::exists(aside, error) || error)
            continue;
        std::filesystem::rename(file, aside, error);
        if (!error) {
            // What is kept is the user's data, private as every other file (an earlier version made some 0644).
            (void)::chmod(aside.c_str(), 0600);
            base::log("kept a damaged file aside as " + aside.filename().string());
            return aside;
        }
        base::log("cannot keep a damaged file aside: " + error.message());
        return {};
    }
    base::log("cannot keep a damaged file aside: no free name");
    return {};
}

} // namespace core
