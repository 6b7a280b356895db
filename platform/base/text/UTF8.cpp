#include "base/text/UTF8.h"

#include <cstdint>
#include <cstring>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace base::utf8 {

namespace {

    // Length of the sequence a lead byte announces, 0 for a byte that cannot start one.
    size_t sequenceLength(uint8_t lead)
    {
        if (lead < 0x80)
            return 1;
        if (lead >= 0xC2 && lead <= 0xDF)
            return 2;
        if (lead >= 0xE0 && lead <= 0xEF)
            return 3;
        if (lead >= 0xF0 && lead <= 0xF4)
            return 4;
        return 0;
    }

    bool isContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

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

#if defined(__x86_64__)
    constexpr size_t WideAsciiBlockBytes = 256;

    // Passes over blocks of WideAsciiBlockBytes that hold ASCII only, eight 32-byte vectors combined and tested
    // at once; stops at the first block that holds another byte, or with less than a block left. Built for
    // processors with AVX2 and called only on them.
    [[gnu::target("avx2")]] const char* skipWideAsciiBlocks(const char* p, const char* end)
    {
        while (static_cast<size_t>(end - p) >= WideAsciiBlockBytes) {
            const auto* vectors = reinterpret_cast<const __m256i*>(p);
            __m256i combined = _mm256_or_si256(
                _mm256_or_si256(_mm256_or_si256(_mm256_loadu_si256(vectors), _mm256_loadu_si256(vectors + 1)),
                    _mm256_or_si256(_mm256_loadu_si256(vectors + 2), _mm256_loadu_si256(vectors + 3))),
                _mm256_or_si256(_mm256_or_si256(_mm256_loadu_si256(vectors + 4), _mm256_loadu_si256(vectors + 5)),
                    _mm256_or_si256(_mm256_loadu_si256(vectors + 6), _mm256_loadu_si256(vectors + 7))));
            if (_mm256_movemask_epi8(combined) != 0)
                break;
            p += WideAsciiBlockBytes;
        }
        return p;
    }

    const bool hasAVX2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
#endif

    // The first byte at or after `p` that is not ASCII, or `end`. Runs of ASCII, the bulk of a server's reply,
    // are passed over a wide block (where the processor has the instructions), a block, then a word, at a time.
    const char* skipAscii(const char* p, const char* end)
    {
#if defined(__x86_64__)
        if (hasAVX2)
            p = skipWideAsciiBlocks(p, end);
#endif
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

std::optional<char32_t> decodeNext(std::string_view text, size_t& position)
{
    const auto byteAt = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    uint8_t lead = byteAt(position);
    size_t length = sequenceLength(lead);
    if (length == 0 || position + length > text.size()) {
        ++position;
        return std::nullopt;
    }
    if (length == 1) {
        ++position;
        return lead;
    }
    char32_t codePoint = lead & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i) {
        uint8_t byte = byteAt(position + i);
        if (!isContinuation(byte)) {
            ++position;
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    // Overlong three- and four-byte forms, surrogates and values past U+10FFFF are ill-formed.
    bool wellFormed = (length != 3 || (codePoint >= 0x800 && (codePoint < 0xD800 || codePoint > 0xDFFF)))
        && (length != 4 || (codePoint >= 0x10000 && codePoint <= 0x10FFFF));
    if (!wellFormed) {
        ++position;
        return std::nullopt;
    }
    position += length;
    return codePoint;
}

bool isValid(std::string_view text)
{
    const char* bytes = text.data();
    const char* end = bytes + text.size();
    for (const char* p = skipAscii(bytes, end); p != end; p = skipAscii(p, end)) {
        auto position = static_cast<size_t>(p - bytes);
        if (!decodeNext(text, position))
            return false;
        p = bytes + position;
    }
    return true;
}

void append(std::string& text, char32_t codePoint)
{
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

size_t countCodePoints(std::string_view text)
{
    size_t count = 0;
    // Only the steps count: an ill-formed byte is one code point, as everywhere in this file.
    for (size_t position = 0; position < text.size(); ++count)
        (void)decodeNext(text, position);
    return count;
}

std::string_view prefix(std::string_view text, size_t count)
{
    size_t position = 0;
    for (size_t taken = 0; taken < count && position < text.size(); ++taken)
        (void)decodeNext(text, position); // only the position matters
    return text.substr(0, position);
}

std::string_view truncateToBytes(std::string_view text, size_t maxBytes)
{
    size_t position = 0;
    while (position < text.size()) {
        size_t next = position;
        (void)decodeNext(text, next); // only the position matters
        if (next > maxBytes)
            break;
        position = next;
    }
    return text.substr(0, position);
}

} // namespace base::utf8
