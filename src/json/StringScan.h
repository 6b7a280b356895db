// json::findSpecialByte: the first byte at or after `p` that a JSON string cannot carry as it is: below 0x20,
// a quote, a backslash, 0x80 and above (the start of a sequence that needs checking), and, when asked, the
// slash. Returns `end` when there is none. Sixteen bytes at a time where SSE2 is available.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace json {

template <bool slashIsSpecial> inline const char* findSpecialByte(const char* p, const char* end)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i slash = _mm_set1_epi8('/');
    const __m128i space = _mm_set1_epi8(' ');
    while (end - p >= 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        // Signed comparison: bytes of 0x80 and above are negative, so they count as below 0x20 too.
        __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)), _mm_cmplt_epi8(bytes, space));
        if constexpr (slashIsSpecial)
            special = _mm_or_si128(special, _mm_cmpeq_epi8(bytes, slash));
        if (int mask = _mm_movemask_epi8(special))
            return p + std::countr_zero(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        auto byte = static_cast<uint8_t>(*p);
        if (byte < 0x20 || byte == '"' || byte == '\\' || byte >= 0x80 || (slashIsSpecial && byte == '/'))
            return p;
    }
    return p;
}

} // namespace json
