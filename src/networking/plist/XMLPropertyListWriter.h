// networking::XMLPropertyListWriter: writes a property list in the XML form, indented with tabs. Refuses what
// a property list cannot hold (null, keys that are not texts) and texts XML cannot carry (control
// characters, invalid UTF-8). Used through PropertyListSerialization.
#pragma once

#include "base/values/Error.h"
#include "base/values/Value.h"

#include <optional>

namespace networking {

class XMLPropertyListWriter {
public:
    [[nodiscard]] static std::optional<base::Data> write(const base::Value& propertyList, base::Error* error);
};

} // namespace networking
