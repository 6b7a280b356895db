// The 64-bit hashes of decoded strings and numbers (the token cache's keys) and the 32-bit table hash of
// dictionary keys. A string key's table hash is folded from its value hash, so a dictionary built by the
// decoder reuses the hash computed while reading the key instead of hashing it again.
#pragma once

#include "base/Value.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace json {

namespace detail {

    inline constexpr uint64_t HashSeed = 0x9E3779B97F4A7C15ull;
    inline constexpr uint64_t HashMultiplier = 0xA0761D6478BD642Full;

    inline uint64_t mix(uint64_t a, uint64_t b)
    {
        unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
        return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
    }

} // namespace detail

inline uint64_t hashBytes(const char* bytes, size_t length)
{
    uint64_t h = detail::HashSeed ^ length;
    while (length >= 8) {
        uint64_t word;
        std::memcpy(&word, bytes, 8);
        h = detail::mix(h ^ word, detail::HashMultiplier);
        bytes += 8;
        length -= 8;
    }
    if (length) {
        uint64_t word = 0;
        std::memcpy(&word, bytes, length);
        h = detail::mix(h ^ word, detail::HashMultiplier);
    }
    return detail::mix(h, detail::HashSeed);
}

// `tag` tells the number kinds apart; `bits` is the stored value's bit pattern.
inline uint64_t hashNumber(uint8_t tag, uint64_t bits)
{
    return detail::mix(detail::mix(detail::HashSeed + tag, detail::HashMultiplier) ^ bits, detail::HashSeed);
}

inline uint32_t foldHash(uint64_t h) { return static_cast<uint32_t>(h ^ (h >> 32)); }

// The table hash of any key: strings by their bytes, other values by the platform hash (equal values, such
// as 1 and 1.0, hash equally there).
inline uint32_t tableHash(const base::Value& key)
{
    if (const std::string* text = key.string())
        return foldHash(hashBytes(text->data(), text->size()));
    return foldHash(key.hash());
}

} // namespace json
