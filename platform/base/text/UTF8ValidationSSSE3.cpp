// The look-up check of UTF-8 on 16-byte vectors. This file is compiled for SSSE3 (its shuffle and byte
// alignment), and its one entry point is called only where the processor has them.
#include "base/text/UTF8Validation.h"

#if defined(__x86_64__)
#include "base/text/UTF8LookupValidation.h"

#include <immintrin.h>

namespace base::utf8::validation {

namespace {

    struct SSSE3Lanes {
        using Vector = __m128i;
        static constexpr size_t Bytes = 16;

        static Vector load(const char* bytes) { return _mm_loadu_si128(reinterpret_cast<const Vector*>(bytes)); }
        static Vector zero() { return _mm_setzero_si128(); }
        static Vector splat(uint8_t byte) { return _mm_set1_epi8(static_cast<char>(byte)); }
        static Vector table(const uint8_t (&entries)[16]) { return load(reinterpret_cast<const char*>(entries)); }
        static Vector bitOr(Vector a, Vector b) { return _mm_or_si128(a, b); }
        static Vector bitAnd(Vector a, Vector b) { return _mm_and_si128(a, b); }
        static Vector bitXor(Vector a, Vector b) { return _mm_xor_si128(a, b); }
        static Vector subtractSaturated(Vector a, Vector b) { return _mm_subs_epu8(a, b); }
        static Vector lookUp(Vector table, Vector indices) { return _mm_shuffle_epi8(table, indices); }
        static Vector highNibbles(Vector v) { return _mm_and_si128(_mm_srli_epi16(v, 4), splat(0x0F)); }
        static bool isAscii(Vector v) { return _mm_movemask_epi8(v) == 0; }
        static bool anySet(Vector v) { return _mm_movemask_epi8(_mm_cmpeq_epi8(v, zero())) != 0xFFFF; }
    };

} // namespace

bool isValidSSSE3(const char* bytes, size_t length) { return LookupValidation<SSSE3Lanes>().isValid(bytes, length); }

} // namespace base::utf8::validation
#endif
