// networking::BinaryPropertyListReader: reads the binary form of a property list ("bplist00", an object table
// with a trailer). Every offset, size and count is checked against the data; references that loop back are
// refused; objects referenced several times are read once and shared, and a list that would expand to more
// than MaximumExpandedObjects values is refused. Used through PropertyListSerialization.
#pragma once

#include "base/values/Error.h"
#include "base/values/Value.h"

#include <cstddef>
#include <optional>

namespace networking {

class BinaryPropertyListReader {
public:
    static constexpr size_t MaximumExpandedObjects = 1 << 20;

    [[nodiscard]] static std::optional<base::Value> read(
        const base::Data& data, bool mutableContainers, base::Error* error);
};

} // namespace networking
