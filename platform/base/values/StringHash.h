// base::hashString: the hash of a string's bytes that base::Value::hashString gives, inline for the callers
// that hash many short keys (a decoder reading a document's keys).
//
//   uint64_t h = base::hashString("DeviceID"); // == base::Value::hashString("DeviceID")
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace base {

namespace stringhash {

    constexpr uint64_t hashSeed = 0x9e3779b97f4a7c15ull;
    constexpr uint64_t hashKey1 = 0xa0761d6478bd642full;
    constexpr uint64_t hashKey2 = 0xe7037ed1a0b428dbull;

    inline uint64_t mix(uint64_t a, uint64_t b)
    {
        unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
        return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
    }

    inline uint64_t load64(const unsigned char* p)
    {
        uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }

    inline uint64_t load32(const unsigned char* p)
    {
        uint32_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }

} // namespace stringhash

// A multiply-fold hash over 16-byte blocks and an overlapping tail: fast for the short texts that dictionary
// keys are, and well mixed for an open-addressing table.
inline uint64_t hashString(std::string_view bytes)
{
    using namespace stringhash;
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    uint64_t seed = hashSeed ^ n;
    for (; n > 16; p += 16, n -= 16)
        seed = mix(load64(p) ^ hashKey1, load64(p + 8) ^ seed);
    uint64_t a = 0;
    uint64_t b = 0;
    if (n >= 8) {
        a = load64(p);
        b = load64(p + n - 8);
    } else if (n >= 4) {
        a = load32(p);
        b = load32(p + n - 4);
    } else if (n > 0) {
        a = (uint64_t(p[0]) << 16) | (uint64_t(p[n / 2]) << 8) | p[n - 1];
    }
    return mix(a ^ hashKey1, b ^ seed ^ hashKey2);
}

} // namespace base
