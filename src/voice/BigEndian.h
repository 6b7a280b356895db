// Big-endian integers as CAF chunk heads and 3GP box heads store them. The caller guarantees the bytes exist.
#pragma once

#include <cstdint>

namespace voice {

inline uint32_t ReadBigEndian32(const uint8_t* bytes)
{
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]);
}

inline uint64_t ReadBigEndian64(const uint8_t* bytes)
{
    return (uint64_t(ReadBigEndian32(bytes)) << 32) | ReadBigEndian32(bytes + 4);
}

} // namespace voice
