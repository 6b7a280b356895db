// json::findSpecialByte: the first byte at or after `p` that a JSON string cannot carry as it is: below 0x20,
// a quote, a backslash, 0x80 and above (the start of a sequence that needs checking), and, when asked, the
// slash. Returns `end` when there is none. json::copyToSpecialByte copies the bytes before it. Sixteen bytes
// at a time where SSE2 is available.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace json {

namespace detail {

    inline bool isSpecialByte(uint8_t byte, bool slashIsSpecial)
    {
        return byte < 0x20 || byte == '"' || byte == '\\' || byte >= 0x80 || (slashIsSpecial && byte == '/');
    }

#if defined(__SSE2__)
    // A bit for each special byte among the sixteen.
    template <bool slashIsSpecial> inline unsigned specialMask(__m128i bytes)
    {
        // Signed comparison: bytes of 0x80 and above are negative, so they count as below 0x20 too.
        __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))),
            _mm_cmplt_epi8(bytes, _mm_set1_epi8(' ')));
        if constexpr (slashIsSpecial)
            special = _mm_or_si128(special, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('/')));
        return static_cast<unsigned>(_mm_movemask_epi8(special));
    }
#endif

} // namespace detail

template <bool slashIsSpecial> inline const char* findSpecialByte(const char* p, const char* end)
{
#if defined(__SSE2__)
    while (end - p >= 16) {
        if (unsigned mask = detail::specialMask<slashIsSpecial>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))))
            return p + std::countr_zero(mask);
        p += 16;
    }
#endif
    while (p < end && !detail::isSpecialByte(static_cast<uint8_t>(*p), slashIsSpecial))
        ++p;
    return p;
}

// Copies the bytes from `p` up to the first special byte (the one findSpecialByte finds, the slash not
// counted) to `out`, moving both past them. `out` must have room for end - p bytes: whole blocks of sixteen
// are stored at once, so bytes past the copied ones may be written too.
//
// `known` carries what an earlier scan found: bit i is set when the byte at p + i is special, for the bytes of
// the block last scanned; bits past that block are clear. When it is not 0, its lowest bit is the special
// byte to copy up to, without a new scan. On return it holds the special bytes so found from the one at `p`
// on (bit 0). A caller that moves `p` past bytes shifts `known` right by as many, or clears it.
inline void copyToSpecialByte(const char*& p, const char* end, char*& out, unsigned& known)
{
#if defined(__SSE2__)
    while (end - p >= 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
        if (unsigned mask = known ? known : detail::specialMask<false>(bytes)) {
            int plain = std::countr_zero(mask);
            p += plain;
            out += plain;
            known = mask >> plain;
            return;
        }
        p += 16;
        out += 16;
    }
    // Fewer than sixteen bytes are left (all of most keys and short values): they are copied to a block of
    // sixteen and scanned at once, the bytes past them left out of the mask.
    if (p != end) {
        auto count = static_cast<size_t>(end - p);
        char block[16] = {};
        std::memcpy(block, p, count);
        std::memcpy(out, block, count);
        unsigned mask = known ? known
                              : detail::specialMask<false>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block)))
                & ((1u << count) - 1);
        size_t plain = mask ? static_cast<size_t>(std::countr_zero(mask)) : count;
        p += plain;
        out += plain;
        known = mask >> plain;
        return;
    }
    known = 0;
#else
    known = 0;
    while (p < end && !detail::isSpecialByte(static_cast<uint8_t>(*p), false))
        *out++ = *p++;
#endif
}

} // namespace json
