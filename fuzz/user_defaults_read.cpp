// Reads arbitrary bytes as a user-defaults file, and as the payload alone (past the checksum that would
// otherwise stop most inputs). Whatever reads must write back to a file that reads as a dictionary of the
// same size; nothing may crash, leak or read out of bounds.
#include "base/system/DefaultsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void checkRewrite(const base::DictionaryRef& values)
{
    if (!values)
        return;
    auto again = base::DefaultsFile::read(base::DefaultsFile::write(*values));
    if (!again || again->count() != values->count())
        std::abort();
    for (auto [key, value] : *values)
        (void)value->description();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkRewrite(base::DefaultsFile::read(bytes));
    checkRewrite(base::DefaultsFile::readPayload(bytes));
    return 0;
}
