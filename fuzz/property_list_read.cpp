// Reads arbitrary bytes as a property list (XML or binary). Whatever reads must write in both formats, unless
// it holds a text XML cannot carry, and what was written must read again.
#include "networking/plist/PropertyListSerialization.h"

#include <cstdint>
#include <cstdlib>

using networking::PropertyListFormat;
using networking::PropertyListSerialization;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    base::Data bytes(data, data + size);
    auto list = PropertyListSerialization::propertyListWithData(bytes, PropertyListSerialization::Immutable);
    if (!list)
        return 0;
    auto binary = PropertyListSerialization::dataWithPropertyList(*list, PropertyListFormat::Binary);
    if (!binary || !PropertyListSerialization::propertyListWithData(*binary, PropertyListSerialization::Immutable))
        std::abort();
    if (auto xml = PropertyListSerialization::dataWithPropertyList(*list, PropertyListFormat::XML)) {
        if (!PropertyListSerialization::propertyListWithData(*xml, PropertyListSerialization::MutableContainers))
            std::abort();
    }
    return 0;
}
