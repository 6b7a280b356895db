// database::extractSQL: turns a printf-style SQL format and its arguments into SQL with a "?" per value and
// the values to bind, so that formatted statements are still bound, never pasted. Conversions: %@ (the value
// itself; an absent one writes NULL), %c, %d %i %D, %u %U, %f, %g, %hi %hu, %ld %lu, %lld %llu, %qi %qu, %s.
// "%%" is a literal percent; "%" before any other character writes that character alone.
//
//   auto formatted = database::extractSQL("select * from t where a = %d and b = %@", arguments);
//   // formatted->sql == "select * from t where a = ? and b = ?"
#pragma once

#include "database/SQLArguments.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace database {

struct FormattedSQL {
    std::string sql;
    std::vector<base::Value> arguments;
};

// Empty (after a log line) when the format asks for more arguments than were passed; surplus ones are ignored.
[[nodiscard]] std::optional<FormattedSQL> extractSQL(
    std::string_view format, std::span<const FormatArgument> arguments);

} // namespace database
