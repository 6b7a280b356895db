// Fuzzes the JSON decoder under every parse option. The first byte chooses the options (low four bits) and
// whether collections are mutable (bit 4); the rest is the document. Whatever decodes must encode and decode
// strictly to an equal tree.
#include "json/JSONDecoder.h"
#include "json/JSONSerializer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    json::ParseOptions options = data[0] & json::JSONParseValidFlags;
    bool mutableCollections = data[0] & 0x10;
    base::Data document(data + 1, data + size);

    base::Error error;
    auto root = mutableCollections ? json::mutableObjectFromJSONData(document, options, &error)
                                   : json::objectFromJSONData(document, options, &error);
    if (!root) {
        if (error.isEmpty())
            std::abort();
        std::string_view text(reinterpret_cast<const char*>(document.data()), document.size());
        if (json::objectFromJSONString(text, options))
            std::abort();
        return 0;
    }
    auto encoded = json::JSONString(*root, data[0] & 0x20 ? json::JSONSerializePretty : json::JSONSerializeOptionNone);
    if (!encoded)
        std::abort();
    auto again = json::objectFromJSONString(*encoded);
    if (!again || !(*again == *root))
        std::abort();
    return 0;
}
