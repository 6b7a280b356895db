// The hashes the JSON codec uses: a string's value hash is the platform's string hash of its bytes, which
// also gives the dictionary table its key hash (folded to 32 bits), so a dictionary built by the decoder
// reuses the hash computed while reading each key. Numbers get a hash of their kind and bit pattern for the
// token cache.
#pragma once

#include "base/values/StringHash.h"
#include "base/values/Value.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace json {

inline uint64_t hashString(std::string_view bytes) { return base::hashString(bytes); }

// `tag` tells the number kinds apart; `bits` is the stored value's bit pattern.
inline uint64_t hashNumber(uint8_t tag, uint64_t bits)
{
    return base::hashString(std::string_view(reinterpret_cast<const char*>(&bits), sizeof bits)) ^ tag;
}

inline uint32_t foldHash(uint64_t h) { return static_cast<uint32_t>(h ^ (h >> 32)); }

// The table hash of any key: equal values (such as 1 and 1.0) hash equally, and a string's is its folded
// value hash.
inline uint32_t tableHash(const base::Value& key) { return foldHash(key.hash()); }

} // namespace json
