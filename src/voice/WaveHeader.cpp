#include "voice/WaveHeader.h"

#include <string_view>

namespace voice {

namespace {

    void appendTag(base::Data& data, std::string_view tag) { data.insert(data.end(), tag.begin(), tag.end()); }

    void appendLittleEndian(base::Data& data, uint32_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            data.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }

} // namespace

void WriteWaveHeader(base::Data& data, size_t frameCount)
{
    constexpr uint32_t sampleRate = 8000;
    constexpr uint32_t formatChunkSize = 20;
    auto dataSize = static_cast<uint32_t>(frameCount * BytesPerDecodedFrame);

    appendTag(data, "RIFF");
    appendLittleEndian(data, dataSize + static_cast<uint32_t>(WaveHeaderSize - 8), 4);
    appendTag(data, "WAVE");
    appendTag(data, "fmt ");
    appendLittleEndian(data, formatChunkSize, 4);
    appendLittleEndian(data, 1, 2); // linear PCM
    appendLittleEndian(data, 1, 2); // channels
    appendLittleEndian(data, sampleRate, 4);
    appendLittleEndian(data, sampleRate * 2, 4); // bytes per second
    appendLittleEndian(data, 2, 2); // block align
    appendLittleEndian(data, 16, 2); // bits per sample
    appendLittleEndian(data, 0, 4); // the rest of the 20-byte format chunk
    appendTag(data, "data");
    appendLittleEndian(data, dataSize, 4);
}

} // namespace voice
