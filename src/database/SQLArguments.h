// How the C++ arguments of the variadic statement forms become base::Values. An absent argument (nullptr,
// std::nullopt or an empty std::optional) stands for the design's nil: it binds NULL, and in a format's "%@"
// it writes the SQL text NULL. Anything else must convert to base::Value, so a wrong type fails to compile.
// The statements that bind their arguments take texts as they are, without a base::Value made of each.
//
//   database->executeUpdate("insert into t values (?, ?)", 42, nullptr);
#pragma once

#include "base/values/Value.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace database {

using FormatArgument = std::optional<base::Value>;

namespace detail {

    template <typename T> struct IsOptional : std::false_type {
    };
    template <typename T> struct IsOptional<std::optional<T>> : std::true_type {
    };

    template <typename T> constexpr bool IsText = std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view>;

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

// An argument as a statement binds it: a text read where its caller keeps it, which outlives the call that
// binds it (a query's texts are copied by SQLite as they are bound, an update's read while it runs), or a value.
struct StatementArgument {
    StatementArgument(base::Value value)
        : value(std::move(value))
    {
    }
    explicit StatementArgument(std::string_view text)
        : text(text)
    {
    }

    std::optional<std::string_view> text;
    base::Value value;
};

template <typename T> StatementArgument statementArgument(T&& argument)
{
    using Plain = std::remove_cvref_t<T>;
    if constexpr (detail::IsText<Plain>)
        return StatementArgument(std::string_view(argument));
    else if constexpr (detail::IsOptional<Plain>::value) {
        if (!argument)
            return StatementArgument(base::Value());
        if constexpr (detail::IsText<typename Plain::value_type>)
            return StatementArgument(std::string_view(*argument));
        else
            return StatementArgument(argumentValue(std::forward<T>(argument)));
    } else
        return StatementArgument(argumentValue(std::forward<T>(argument)));
}

} // namespace database
