// networking::XMLPropertyListReader: reads the XML form of a property list (expat underneath, no external
// entities, nesting bounded). Used through PropertyListSerialization.
#pragma once

#include "base/values/Error.h"
#include "base/values/Value.h"

#include <optional>

namespace networking {

class XMLPropertyListReader {
public:
    [[nodiscard]] static std::optional<base::Value> read(
        const base::Data& data, bool mutableContainers, base::Error* error);
};

} // namespace networking
