// The web service's date text, "/Date(1400000000000)/": milliseconds since 1970 (UTC) between the
// parentheses, possibly followed by a time-zone suffix ("/Date(1400000000000+0800)/") that names the
// sender's zone and does not move the instant. Pure functions, usable on any thread.
//
//   std::optional<base::Date> when = base::parseServiceDateText("/Date(1400000000000+0800)/");
//   std::string text = base::serviceDateText(*when); // "/Date(1400000000000)/"
#pragma once

#include "base/time/Date.h"

#include <optional>
#include <string>
#include <string_view>

namespace base {

// Reads the signed integer that follows the first "(" (or starts the text when there is none), after
// optional white space, up to the first character that is not a digit. Nothing for a blank text, a text
// without digits there, or a number too large for a date.
[[nodiscard]] std::optional<Date> parseServiceDateText(std::string_view text);

// "/Date(<milliseconds>)/", the milliseconds rounded to the nearest integer.
std::string serviceDateText(Date date);

} // namespace base
