// The decoder's token cache: 1024 buckets that remember the values of recent string and number tokens, so
// that a repeated value is found by its hash and bytes instead of being made again. A JSONDecoder keeps its
// cache across parses; the one-call entry points use none (see JSONDecoder.h).
//
// Only strings short enough to live inside a Value without a heap block are cached: a longer string costs
// the same to copy out of the cache as to make afresh, so caching it would only add a copy.
#pragma once

#include "base/values/Value.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace json {

// Kinds of token values. The numbers enter the hash and tell equal bit patterns of different kinds apart.
enum class TokenValueType : uint8_t { None = 0, String = 5, SignedInteger = 7, UnsignedInteger = 11, Double = 13 };

class JSONTokenCache {
public:
    static constexpr size_t BucketCount = 1024;
    static constexpr size_t ProbeCount = 4;
    static constexpr size_t LongestCachedString = 15;

    JSONTokenCache();

    // The value of a string of 1 to LongestCachedString bytes whose hash is `hash`.
    const base::Value& string(const char* bytes, size_t length, uint64_t hash);
    // The value of a number of the given kind, `bits` being its 64-bit pattern.
    const base::Value& number(TokenValueType type, uint64_t bits, uint64_t hash);

    // Releases every cached value.
    void clear();

private:
    struct Item {
        uint64_t hash { 0 };
        // A number's bit pattern or a string's bytes.
        union {
            uint64_t bits;
            char bytes[LongestCachedString];
        } key {};
        uint8_t size { 0 };
        TokenValueType type { TokenValueType::None };
        base::Value object;
    };

    // Returns the item holding an equal token, or null after choosing in `target` the item to store it in.
    Item* find(TokenValueType type, const void* key, size_t size, uint64_t hash, Item*& target);
    const base::Value& store(
        Item& target, TokenValueType type, const void* key, size_t size, uint64_t hash, base::Value object);

    std::unique_ptr<Item[]> m_items;
};

} // namespace json
