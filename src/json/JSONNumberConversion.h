// Converts the text of a number token, already checked against the JSON number grammar, to its value
// without the process locale: a double when it has a fraction or an exponent (and for "-0", which must keep
// its sign), else a signed integer when negative, else an unsigned one.
#pragma once

#include "json/JSONTokenCache.h"

#include <cstdint>
#include <string>

namespace json {

struct JSONNumber {
    TokenValueType type;
    // The value's bit pattern (int64_t, uint64_t or double, as `type` says).
    uint64_t bits;
};

// On failure returns false and sets `message` to the range error's text (empty when there is none).
[[nodiscard]] bool convertJSONNumber(
    const char* start, const char* end, bool hasFractionOrExponent, JSONNumber& number, std::string& message);

} // namespace json
