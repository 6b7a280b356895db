// Typed reads of one value of an attribute dictionary, shared by the query and attribute parsers: a value
// of the wrong kind reads as nothing, which the parsers report as bad parameters.
#pragma once

#include "base/Value.h"

#include <optional>
#include <string>

namespace security::attribute {

inline std::optional<std::string> text(const base::Value& value)
{
    if (const std::string* text = value.string())
        return *text;
    return std::nullopt;
}

// A bool, or a number read as one.
inline std::optional<bool> flag(const base::Value& value)
{
    if (value.isNumber())
        return value.boolValue();
    return std::nullopt;
}

inline std::optional<base::Data> data(const base::Value& value)
{
    if (const base::Data* bytes = value.data())
        return *bytes;
    return std::nullopt;
}

} // namespace security::attribute
