#include "voice/Unwrap3gp.h"

#include "base/Log.h"
#include "voice/AmrFrameReader.h"
#include "voice/BigEndian.h"

#include <algorithm>
#include <cstring>

namespace voice {

namespace {

    constexpr size_t SmallestFile = 50;
    constexpr size_t BoxHeadSize = 8;
    // The first box is never taken to end before byte 16.
    constexpr uint32_t SmallestSecondBoxOffset = 16;

    base::Data unchanged(std::span<const uint8_t> data)
    {
        base::log("not android 3gp");
        return base::Data(data.begin(), data.end());
    }

} // namespace

base::Data Unwrap3gpToAmr(std::span<const uint8_t> data)
{
    if (data.size() < SmallestFile || std::memcmp(data.data() + 4, "ftyp", 4) != 0)
        return unchanged(data);
    uint32_t firstBoxSize = ReadBigEndian32(data.data());
    uint64_t boxOffset = std::max(firstBoxSize & ~uint32_t(3), SmallestSecondBoxOffset);
    if (boxOffset + BoxHeadSize > data.size())
        return unchanged(data);
    uint32_t boxSize = ReadBigEndian32(data.data() + boxOffset);
    // Sizes 0 ("to the end") and 1 (a 64-bit size follows) and anything below a box head are not read.
    if (boxSize < BoxHeadSize)
        return unchanged(data);
    uint64_t payloadStart = boxOffset + BoxHeadSize;
    uint64_t payloadEnd = std::min<uint64_t>(boxOffset + boxSize, data.size());

    base::Data amr;
    amr.reserve(AmrMagic.size() + (payloadEnd - payloadStart));
    amr.insert(amr.end(), AmrMagic.begin(), AmrMagic.end());
    amr.insert(amr.end(), data.begin() + payloadStart, data.begin() + payloadEnd);
    return amr;
}

} // namespace voice
