#include "core/messages/SafeFileName.h"

namespace core {

bool isSafeFileName(std::string_view name)
{
    constexpr size_t MaximumNameBytes = 255;
    return !name.empty() && name != "." && name != ".." && name.size() <= MaximumNameBytes
        && name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

} // namespace core
