#include "media/formats/WaveData.h"

#include "media/playback/MediaError.h"

#include <algorithm>
#include <cstring>

namespace media {

namespace {

    constexpr size_t ChunkHeadSize = 8;
    constexpr int MaxChannels = 8;
    constexpr uint32_t MaxSampleRate = 384000;

    uint32_t littleEndian32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
    uint16_t littleEndian16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

    struct FormatChunk {
        AudioFormat format;
        int bitsPerSample { 0 };
    };

    std::optional<FormatChunk> readFormat(const uint8_t* body, uint32_t size)
    {
        if (size < 16)
            return std::nullopt;
        uint16_t formatTag = littleEndian16(body);
        int channels = littleEndian16(body + 2);
        uint32_t rate = littleEndian32(body + 4);
        int bits = littleEndian16(body + 14);
        if (formatTag != 1 || channels < 1 || channels > MaxChannels || rate == 0 || rate > MaxSampleRate
            || (bits != 8 && bits != 16))
            return std::nullopt;
        return FormatChunk { AudioFormat { static_cast<double>(rate), channels }, bits };
    }

    std::vector<int16_t> readSamples(const uint8_t* body, size_t frames, const FormatChunk& format)
    {
        size_t count = frames * static_cast<size_t>(format.format.channels);
        std::vector<int16_t> samples(count);
        for (size_t i = 0; i < count; ++i) {
            if (format.bitsPerSample == 16)
                samples[i] = static_cast<int16_t>(littleEndian16(body + 2 * i));
            else
                samples[i] = static_cast<int16_t>((body[i] - 128) * 256); // 8-bit WAVE samples are unsigned
        }
        return samples;
    }

    std::optional<WaveData> fail(base::Error* error, const char* why)
    {
        base::setError(error, makeError(MediaError::UnsupportedFormat, why));
        return std::nullopt;
    }

} // namespace

std::optional<WaveData> WaveData::parse(std::span<const uint8_t> bytes, base::Error* error)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return fail(error, "not a WAVE file");
    std::optional<FormatChunk> format;
    uint64_t offset = 12;
    while (offset + ChunkHeadSize <= bytes.size()) {
        const uint8_t* head = bytes.data() + offset;
        uint32_t size = littleEndian32(head + 4);
        const uint8_t* body = head + ChunkHeadSize;
        uint64_t present = std::min<uint64_t>(size, bytes.size() - offset - ChunkHeadSize);
        if (std::memcmp(head, "fmt ", 4) == 0) {
            format = present == size ? readFormat(body, size) : std::nullopt;
            if (!format)
                return fail(error, "unsupported WAVE format");
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!format)
                return fail(error, "WAVE data before its format");
            size_t frameBytes = static_cast<size_t>(format->format.channels) * (format->bitsPerSample / 8);
            WaveData wave;
            wave.format = format->format;
            wave.declaredFrames = size / frameBytes;
            wave.samples = readSamples(body, static_cast<size_t>(present) / frameBytes, *format);
            return wave;
        }
        offset += ChunkHeadSize + size + (size & 1);
    }
    return fail(error, "WAVE data without samples");
}

} // namespace media
