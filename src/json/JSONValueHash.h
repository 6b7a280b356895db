// The hashes the JSON codec uses: a string's value hash is the platform's string hash of its bytes, which
// also gives the dictionary table its key hash (folded to 32 bits), so a dictionary built by the decoder
// reuses the hash computed while reading each key, and looks the key up among the document's strings by it.
#pragma once

#include "base/values/StringHash.h"
#include "base/values/Value.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace json {

inline uint64_t hashString(std::string_view bytes) { return base::hashString(bytes); }

inline uint32_t foldHash(uint64_t h) { return static_cast<uint32_t>(h ^ (h >> 32)); }

// The table hash of any key: equal values (such as 1 and 1.0) hash equally, and a string's is its folded
// value hash.
inline uint32_t tableHash(const base::Value& key) { return foldHash(key.hash()); }

} // namespace json
