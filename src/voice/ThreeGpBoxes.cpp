#include "voice/ThreeGpBoxes.h"

#include "voice/BigEndian.h"

#include <algorithm>
#include <cstring>

namespace voice {

namespace {

    constexpr uint64_t BoxHeadSize = 8;

} // namespace

std::vector<ThreeGpBox> ThreeGpBoxesIn(std::span<const uint8_t> data, uint64_t begin, uint64_t end)
{
    std::vector<ThreeGpBox> boxes;
    end = std::min<uint64_t>(end, data.size());
    for (uint64_t offset = begin; offset + BoxHeadSize <= end;) {
        uint32_t size = ReadBigEndian32(data.data() + offset);
        if (size < BoxHeadSize)
            break;
        boxes.push_back({ offset, offset + BoxHeadSize, offset + size });
        offset += size;
    }
    return boxes;
}

const ThreeGpBox* FindThreeGpBox(std::span<const uint8_t> data, const std::vector<ThreeGpBox>& boxes, const char* type)
{
    auto found = std::find_if(boxes.begin(), boxes.end(),
        [&](const ThreeGpBox& box) { return std::memcmp(data.data() + box.offset + 4, type, 4) == 0; });
    return found == boxes.end() ? nullptr : &*found;
}

std::vector<ThreeGpBox> ThreeGpChildren(std::span<const uint8_t> data, const ThreeGpBox& box)
{
    return ThreeGpBoxesIn(data, box.payloadStart, box.end);
}

} // namespace voice
