#include "voice/AmrFrameReader.h"

#include <algorithm>
#include <cstring>

namespace voice {

namespace {

    constexpr std::array<int, 8> BitRates = { 4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200 };

    // A 20 ms frame carries rate / 50 bits; rounded up to whole bytes, plus the header byte.
    constexpr size_t frameSizeForRate(int bitRate) { return static_cast<size_t>(bitRate / 50.0 * 0.125 + 0.5) + 1; }

    constexpr std::array<size_t, 8> FrameSizes = [] {
        std::array<size_t, 8> sizes {};
        for (size_t i = 0; i < BitRates.size(); ++i)
            sizes[i] = frameSizeForRate(BitRates[i]);
        return sizes;
    }();

    static_assert(FrameSizes[0] == 13 && FrameSizes[7] == AmrFrameBufferSize);

    bool copyFrame(std::span<const uint8_t> bytes, size_t start, size_t size, AmrFrameBuffer& frame)
    {
        if (size == 0 || size > frame.size() || start > bytes.size() || bytes.size() - start < size)
            return false;
        std::memcpy(frame.data(), bytes.data() + start, size);
        return true;
    }

} // namespace

bool HasAmrMagic(std::span<const uint8_t> bytes)
{
    return bytes.size() >= AmrMagic.size() && std::equal(AmrMagic.begin(), AmrMagic.end(), bytes.begin());
}

size_t AmrFrameSize(unsigned frameType) { return frameType < FrameSizes.size() ? FrameSizes[frameType] : 0; }

size_t ReadFirstAmrFrame(
    std::span<const uint8_t> bytes, size_t offset, AmrFrameBuffer& frame, size_t& outSize, uint8_t& outHeader)
{
    frame.fill(0);
    if (offset >= bytes.size() || offset + 1 >= bytes.size())
        return 0;
    outHeader = bytes[offset];
    outSize = AmrFrameSize(AmrFrameType(outHeader));
    return copyFrame(bytes, offset, outSize, frame) ? outSize : 0;
}

size_t ReadNextAmrFrame(
    std::span<const uint8_t> bytes, size_t offset, AmrFrameBuffer& frame, size_t size, uint8_t header)
{
    frame.fill(0);
    if (offset >= bytes.size())
        return 0;
    auto* start = bytes.data() + offset;
    auto* match = static_cast<const uint8_t*>(std::memchr(start, header, bytes.size() - offset));
    if (!match)
        return 0;
    size_t skipped = static_cast<size_t>(match - start);
    return copyFrame(bytes, offset + skipped, size, frame) ? skipped + size : 0;
}

} // namespace voice
