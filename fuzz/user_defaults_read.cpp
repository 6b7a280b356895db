// Reads arbitrary bytes as a user-defaults file. Whatever reads must write back to a file that reads as
// an equal dictionary; nothing may crash, leak or read out of bounds.
#include "base/DefaultsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto values = base::DefaultsFile::read(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!values)
        return 0;
    auto again = base::DefaultsFile::read(base::DefaultsFile::write(*values));
    if (!again || again->count() != values->count())
        std::abort();
    for (auto [key, value] : *values)
        (void)value->description();
    return 0;
}
