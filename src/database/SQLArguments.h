// How the C++ arguments of the variadic statement forms become base::Values. An absent argument (nullptr,
// std::nullopt or an empty std::optional) stands for the design's nil: it binds NULL, and in a format's "%@"
// it writes the SQL text NULL. Anything else must convert to base::Value, so a wrong type fails to compile.
//
//   database->executeUpdate("insert into t values (?, ?)", 42, nullptr);
#pragma once

#include "base/values/Value.h"

#include <cstddef>
#include <optional>
#include <type_traits>
#include <utility>

namespace database {

using FormatArgument = std::optional<base::Value>;

namespace detail {

    template <typename T> struct IsOptional : std::false_type {
    };
    template <typename T> struct IsOptional<std::optional<T>> : std::true_type {
    };

} // namespace detail

template <typename T> FormatArgument formatArgument(T&& argument)
{
    using Plain = std::remove_cvref_t<T>;
    if constexpr (std::is_same_v<Plain, std::nullptr_t> || std::is_same_v<Plain, std::nullopt_t>)
        return std::nullopt;
    else if constexpr (detail::IsOptional<Plain>::value) {
        if (!argument)
            return std::nullopt;
        return base::Value(*std::forward<T>(argument));
    } else
        return base::Value(std::forward<T>(argument));
}

template <typename T> base::Value argumentValue(T&& argument)
{
    FormatArgument value = formatArgument(std::forward<T>(argument));
    return value ? std::move(*value) : base::Value();
}

} // namespace database
