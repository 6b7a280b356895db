#include "voice/Unwrap3gp.h"

#include "base/system/Log.h"
#include "voice/AmrFrameReader.h"
#include "voice/BigEndian.h"
#include "voice/ThreeGpBoxes.h"

#include <algorithm>
#include <cstring>

namespace voice {

namespace {

    constexpr size_t SmallestFile = 50;
    // The first box is never taken to end before byte 16.
    constexpr uint32_t SmallestSecondBoxOffset = 16;
    // A sample description is a full box: version and flags, then the entry count, then the entries.
    constexpr uint64_t SampleDescriptionHeadSize = 8;

    base::Data unchanged(std::span<const uint8_t> data)
    {
        base::log("not android 3gp");
        return base::Data(data.begin(), data.end());
    }

    // The first sample entry of a track ("samr", "sawb", ...), or nullptr when the track does not say.
    const uint8_t* sampleEntryType(std::span<const uint8_t> data, const ThreeGpBox& track)
    {
        ThreeGpBox box = track;
        for (const char* type : { "mdia", "minf", "stbl", "stsd" }) {
            auto children = ThreeGpChildren(data, box);
            const ThreeGpBox* child = FindThreeGpBox(data, children, type);
            if (!child)
                return nullptr;
            box = *child;
        }
        auto entries = ThreeGpBoxesIn(data, box.payloadStart + SampleDescriptionHeadSize, box.end);
        return entries.empty() ? nullptr : data.data() + entries.front().offset + 4;
    }

    // Whether every track the file describes holds AMR narrow-band samples. A file without a readable
    // description (a recording cut short before its "moov" box) is taken to, as such files always were.
    bool tracksAreNarrowBandAmr(std::span<const uint8_t> data, const std::vector<ThreeGpBox>& topLevel)
    {
        const ThreeGpBox* movie = FindThreeGpBox(data, topLevel, "moov");
        if (!movie)
            return true;
        for (const ThreeGpBox& child : ThreeGpChildren(data, *movie)) {
            if (std::memcmp(data.data() + child.offset + 4, "trak", 4) != 0)
                continue;
            const uint8_t* entry = sampleEntryType(data, child);
            if (entry && std::memcmp(entry, "samr", 4) != 0)
                return false;
        }
        return true;
    }

} // namespace

base::Data Unwrap3gpToAmr(std::span<const uint8_t> data)
{
    if (data.size() < SmallestFile || std::memcmp(data.data() + 4, "ftyp", 4) != 0)
        return unchanged(data);
    uint32_t firstBoxSize = ReadBigEndian32(data.data());
    uint64_t afterFileType = std::max(firstBoxSize & ~uint32_t(3), SmallestSecondBoxOffset);
    auto topLevel = ThreeGpBoxesIn(data, afterFileType, data.size());
    const ThreeGpBox* media = FindThreeGpBox(data, topLevel, "mdat");
    if (!media || !tracksAreNarrowBandAmr(data, topLevel))
        return unchanged(data);
    uint64_t payloadEnd = std::min<uint64_t>(media->end, data.size());

    base::Data amr;
    amr.reserve(AmrMagic.size() + (payloadEnd - media->payloadStart));
    amr.insert(amr.end(), AmrMagic.begin(), AmrMagic.end());
    amr.insert(amr.end(), data.begin() + media->payloadStart, data.begin() + payloadEnd);
    return amr;
}

} // namespace voice
