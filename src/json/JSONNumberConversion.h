// Converts the text of a number token, already checked against the JSON number grammar, to its value
// without the process locale: a double when it has a fraction or an exponent (and for "-0", which must keep
// its sign), else a signed integer when negative, else an unsigned one.
#pragma once

#include <cstdint>
#include <string>

namespace json {

struct JSONNumber {
    enum class Type : uint8_t { SignedInteger, UnsignedInteger, Double };
    Type type;
    // The value's bit pattern (int64_t, uint64_t or double, as `type` says).
    uint64_t bits;
};

// On failure returns false and sets `message` to the range error's text (empty when there is none).
[[nodiscard]] bool convertJSONNumber(
    const char* start, const char* end, bool hasFractionOrExponent, JSONNumber& number, std::string& message);

// A number token's digits as the tokenizer reads them: mantissa x 10^exponent, the mantissa exact while it
// has at most 19 digits (leading zeros counted).
struct ScannedNumber {
    uint64_t mantissa { 0 };
    int digits { 0 };
    int exponent { 0 };
    bool negative { false };
    bool hasFractionOrExponent { false };
};

// The value of a scanned number when it follows at once from its digits, as it does for most: an integer of at
// most 18 digits (19 when positive), other than -0; a double whose mantissa is below 2^53 and whose power of ten
// is at most 22 either way, as then both are exact and one multiplication or division rounds correctly, just as
// converting the text does. False for any other number, which convertJSONNumber then converts from its text.
[[nodiscard]] bool convertScannedNumber(const ScannedNumber& scanned, JSONNumber& number);

} // namespace json
