// The decoder's parse options: a bit set given to every decoding entry point. Strict JSON is 0; each bit
// relaxes one rule. A decoder refuses any bit outside JSONParseValidFlags.
#pragma once

#include <cstdint>

namespace json {

using ParseOptions = uint64_t;

inline constexpr ParseOptions JSONParseStrict = 0;
// Line comments ("//" to the end of the line) and block comments count as white space.
inline constexpr ParseOptions JSONParseAllowComments = 1;
// U+0085, U+2028 and U+2029 count as line breaks between tokens.
inline constexpr ParseOptions JSONParseUnicodeLineBreaks = 2;
// Ill-formed UTF-8, raw control characters and illegal \u escapes inside strings become U+FFFD instead of
// failing; a lone high surrogate is replaced alone, and the escape after it read on its own.
inline constexpr ParseOptions JSONParseReplaceInvalidUnicode = 4;
// Text after the root value is ignored instead of failing.
inline constexpr ParseOptions JSONParseAllowTrailingText = 8;
inline constexpr ParseOptions JSONParseValidFlags = 0xF;

} // namespace json
