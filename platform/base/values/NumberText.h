// Reading numbers from the start of a text, and writing doubles, the way the platform's value conversions do:
// independent of the locale, never throwing, never reading past the text. Used by base::Value.
//
//   base::readLeadingInteger("  -42abc"); // magnitude 42, negative
//   base::readLeadingDouble("1.5e3 m");  // 1500
//   base::formatDouble(0.1);             // "0.1"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace base {

struct LeadingInteger {
    uint64_t magnitude { 0 };
    bool negative { false };
    // The digits went beyond what 64 bits hold; magnitude is then meaningless.
    bool overflow { false };
};

// Leading white space, an optional sign, then decimal digits up to the first other character.
LeadingInteger readLeadingInteger(std::string_view text);
// Leading white space, an optional sign, then a decimal number with an optional fraction and exponent; 0 when
// there is none, an infinity when it is too large, 0 when too small.
double readLeadingDouble(std::string_view text);
// True when, after white space, an optional sign and leading zeros, the text goes on with Y, y, T, t or 1-9.
[[nodiscard]] bool readLeadingBool(std::string_view text);

// The shortest of the 15-, 16- and 17-digit general forms that reads back as the same double ("0.1", "1",
// "1e+20", "0.30000000000000004"); "nan", "inf" and "-inf" for the special values.
std::string formatDouble(double value);

} // namespace base
