// networking::BinaryPropertyListWriter: writes a property list in the binary form ("bplist00"), one table
// entry per value (nothing is shared). Refuses what a property list cannot hold. Used through
// PropertyListSerialization.
#pragma once

#include "base/values/Error.h"
#include "base/values/Value.h"

#include <optional>

namespace networking {

class BinaryPropertyListWriter {
public:
    [[nodiscard]] static std::optional<base::Data> write(const base::Value& propertyList, base::Error* error);
};

} // namespace networking
