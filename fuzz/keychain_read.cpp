// Reads arbitrary bytes as a keychain file. A file that reads must write back to text that reads as the
// same items, so nothing the store accepts is changed by saving it again.
#include "security/KeychainFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto items = security::KeychainFile::decode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!items)
        return 0;
    auto again = security::KeychainFile::decode(security::KeychainFile::encode(*items));
    if (!again || *again != *items)
        std::abort();
    return 0;
}
