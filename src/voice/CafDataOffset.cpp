#include "voice/CafDataOffset.h"

#include "voice/BigEndian.h"

#include <array>
#include <cstring>

namespace voice {

namespace {

    constexpr size_t FileHeaderSize = 8; // "caff", version, flags
    constexpr size_t ChunkHeadSize = 12; // type, 64-bit body size

} // namespace

size_t FindCafDataOffset(std::span<const uint8_t> bytes)
{
    if (bytes.size() < FileHeaderSize || std::memcmp(bytes.data(), "caff", 4) != 0)
        return 0;
    constexpr std::array<const char*, 3> expectedChunks = { "desc", "free", "data" };
    uint64_t offset = FileHeaderSize;
    for (const char* type : expectedChunks) {
        if (offset > bytes.size() || bytes.size() - offset < ChunkHeadSize)
            return 0;
        const uint8_t* head = bytes.data() + offset;
        // Only the low 32 bits of the size count: a recording still in progress stores -1 for "data".
        uint32_t size = static_cast<uint32_t>(ReadBigEndian64(head + 4));
        if (std::memcmp(head, type, 4) != 0 || size == 0)
            return 0;
        if (std::memcmp(type, "data", 4) == 0)
            return static_cast<size_t>(offset + ChunkHeadSize);
        offset += ChunkHeadSize + size;
    }
    return 0;
}

} // namespace voice
