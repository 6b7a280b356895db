// The look-up check of UTF-8 on 32-byte vectors. This file is compiled for AVX2, and its one entry point is
// called only where the processor has it.
#include "base/text/UTF8Validation.h"

#if defined(__x86_64__)
#include "base/text/UTF8LookupValidation.h"

#include <immintrin.h>

namespace base::utf8::validation {

namespace {

    struct AVX2Lanes {
        using Vector = __m256i;
        static constexpr size_t Bytes = 32;

        static Vector load(const char* bytes) { return _mm256_loadu_si256(reinterpret_cast<const Vector*>(bytes)); }
        static Vector zero() { return _mm256_setzero_si256(); }
        static Vector splat(uint8_t byte) { return _mm256_set1_epi8(static_cast<char>(byte)); }
        // The shuffle looks up within each 16-byte half, so both halves hold the table.
        static Vector table(const uint8_t (&entries)[16])
        {
            return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries)));
        }
        static Vector bitOr(Vector a, Vector b) { return _mm256_or_si256(a, b); }
        static Vector bitAnd(Vector a, Vector b) { return _mm256_and_si256(a, b); }
        static Vector bitXor(Vector a, Vector b) { return _mm256_xor_si256(a, b); }
        static Vector subtractSaturated(Vector a, Vector b) { return _mm256_subs_epu8(a, b); }
        static Vector lookUp(Vector table, Vector indices) { return _mm256_shuffle_epi8(table, indices); }
        static Vector highNibbles(Vector v) { return _mm256_and_si256(_mm256_srli_epi16(v, 4), splat(0x0F)); }
        static bool isAscii(Vector v) { return _mm256_movemask_epi8(v) == 0; }
        static bool anySet(Vector v) { return !_mm256_testz_si256(v, v); }
    };

} // namespace

bool isValidAVX2(const char* bytes, size_t length) { return LookupValidation<AVX2Lanes>().isValid(bytes, length); }

} // namespace base::utf8::validation
#endif
