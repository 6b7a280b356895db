// Typed reads of one value of an attribute dictionary, shared by the query and attribute parsers: a value
// of the wrong kind reads as nothing, which the parsers report as bad parameters.
#pragma once

#include "base/values/Value.h"
#include "security/ItemKeys.h"

#include <optional>
#include <string>

namespace security::attribute {

[[nodiscard]] inline std::optional<std::string> text(const base::Value& value)
{
    if (const std::string* text = value.string())
        return *text;
    return std::nullopt;
}

// A bool, or a number read as one.
[[nodiscard]] inline std::optional<bool> flag(const base::Value& value)
{
    if (value.isNumber())
        return value.boolValue();
    return std::nullopt;
}

[[nodiscard]] inline std::optional<base::Data> data(const base::Value& value)
{
    if (const base::Data* bytes = value.data())
        return *bytes;
    return std::nullopt;
}

// Text into an optional attribute, which is left empty when the value is not text.
[[nodiscard]] inline bool readText(const base::Value& value, std::optional<std::string>& into)
{
    into = text(value);
    return into.has_value();
}

// Only generic passwords are kept, so a class is accepted only when it names them.
inline bool isGenericPasswordClass(const base::Value& value)
{
    const std::string* name = value.string();
    return name && *name == ClassGenericPassword;
}

enum class Synchronizable { No, Yes, Any };

// A bool, or AttrSynchronizableAny for both kinds of item; other text is refused.
[[nodiscard]] inline std::optional<Synchronizable> synchronizable(const base::Value& value)
{
    if (auto name = text(value)) {
        if (*name == AttrSynchronizableAny)
            return Synchronizable::Any;
        return std::nullopt;
    }
    if (auto set = flag(value))
        return *set ? Synchronizable::Yes : Synchronizable::No;
    return std::nullopt;
}

} // namespace security::attribute
