#include "base/text/UTF8Validation.h"

#include "base/text/UTF8.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace base::utf8::validation {

namespace {

    constexpr uint64_t HighBits = 0x8080808080808080ull;

    uint64_t loadWord(const char* bytes)
    {
        uint64_t word;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }

#if defined(__SSE2__)
    constexpr size_t AsciiBlockBytes = 128;

    __m128i loadVector(const char* bytes) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)); }

    template <size_t... Vectors> __m128i combinedVectors(const char* bytes, std::index_sequence<Vectors...>)
    {
        __m128i combined = _mm_setzero_si128();
        ((combined = _mm_or_si128(combined, loadVector(bytes + Vectors * sizeof(__m128i)))), ...);
        return combined;
    }

    // Whether a block of AsciiBlockBytes holds ASCII only: its vectors are combined and their high bits tested
    // at once.
    bool isAsciiBlock(const char* bytes)
    {
        return _mm_movemask_epi8(combinedVectors(bytes, std::make_index_sequence<AsciiBlockBytes / sizeof(__m128i)>()))
            == 0;
    }
#else
    constexpr size_t AsciiBlockBytes = 64;

    // Whether a block of AsciiBlockBytes holds ASCII only. Its words are combined in one expression, without
    // a loop or a branch between them, so the compiler reads the block with a few wide loads.
    template <size_t... Words> bool isAsciiBlock(const char* bytes, std::index_sequence<Words...>)
    {
        return ((loadWord(bytes + Words * sizeof(uint64_t)) | ...) & HighBits) == 0;
    }

    bool isAsciiBlock(const char* bytes)
    {
        return isAsciiBlock(bytes, std::make_index_sequence<AsciiBlockBytes / sizeof(uint64_t)>());
    }
#endif

    // The first byte at or after `p` that is not ASCII, or `end`. Runs of ASCII, the bulk of a server's reply,
    // are passed over a block, then a word, at a time.
    const char* skipAscii(const char* p, const char* end)
    {
        if (static_cast<size_t>(end - p) >= AsciiBlockBytes) {
            const char* lastBlock = end - AsciiBlockBytes;
            while (p <= lastBlock && isAsciiBlock(p))
                p += AsciiBlockBytes;
        }
        while (static_cast<size_t>(end - p) >= sizeof(uint64_t) && (loadWord(p) & HighBits) == 0)
            p += sizeof(uint64_t);
        while (p != end && static_cast<uint8_t>(*p) < 0x80)
            ++p;
        return p;
    }

} // namespace

bool isValidScalar(const char* bytes, size_t length)
{
    std::string_view text(bytes, length);
    const char* end = bytes + length;
    for (const char* p = skipAscii(bytes, end); p != end; p = skipAscii(p, end)) {
        auto position = static_cast<size_t>(p - bytes);
        if (!decodeNext(text, position))
            return false;
        p = bytes + position;
    }
    return true;
}

std::span<const Validator> validators()
{
    static const std::vector<Validator> available = [] {
        std::vector<Validator> found;
#if defined(__x86_64__)
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2"))
            found.push_back({ "avx2", isValidAVX2 });
        if (__builtin_cpu_supports("ssse3"))
            found.push_back({ "ssse3", isValidSSSE3 });
#endif
        found.push_back({ "scalar", isValidScalar });
        return found;
    }();
    return available;
}

} // namespace base::utf8::validation
