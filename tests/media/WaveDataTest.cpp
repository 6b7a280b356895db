#include "media/formats/WaveData.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void put16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void tag(std::vector<uint8_t>& out, const char* text) { out.insert(out.end(), text, text + 4); }

std::vector<uint8_t> formatChunk(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16)
{
    std::vector<uint8_t> out;
    tag(out, "fmt ");
    put32(out, size);
    put16(out, 1);
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * channels * bits / 8);
    put16(out, static_cast<uint16_t>(channels * bits / 8));
    put16(out, bits);
    out.resize(out.size() + (size - 16), 0);
    return out;
}

std::vector<uint8_t> wave(std::vector<std::vector<uint8_t>> chunks)
{
    std::vector<uint8_t> out;
    tag(out, "RIFF");
    put32(out, 0);
    tag(out, "WAVE");
    for (auto& chunk : chunks)
        out.insert(out.end(), chunk.begin(), chunk.end());
    return out;
}

std::vector<uint8_t> dataChunk(uint32_t declared, std::vector<uint8_t> body)
{
    std::vector<uint8_t> out;
    tag(out, "data");
    put32(out, declared);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

} // namespace

TEST(WaveData, ReadsSixteenBitSamplesAfterALongFormatChunk)
{
    auto bytes = wave({ formatChunk(1, 8000, 16, 20), dataChunk(4, { 0x01, 0x00, 0xFF, 0xFF }) });
    auto parsed = media::WaveData::parse(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->format, (media::AudioFormat { 8000, 1 }));
    EXPECT_EQ(parsed->samples, (std::vector<int16_t> { 1, -1 }));
    EXPECT_EQ(parsed->declaredFrames, 2u);
}

TEST(WaveData, WidensUnsignedEightBitSamplesAndSkipsOtherChunksWithTheirPadding)
{
    std::vector<uint8_t> odd;
    tag(odd, "LIST");
    put32(odd, 3);
    odd.insert(odd.end(), { 'a', 'b', 'c', 0 });
    auto bytes = wave({ formatChunk(2, 22050, 8), odd, dataChunk(4, { 0x80, 0xFF, 0x00, 0x81 }) });
    auto parsed = media::WaveData::parse(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->format, (media::AudioFormat { 22050, 2 }));
    EXPECT_EQ(parsed->samples, (std::vector<int16_t> { 0, 127 * 256, -128 * 256, 256 }));
}

TEST(WaveData, KeepsTheWholeFramesOfATruncatedDataChunk)
{
    auto bytes = wave({ formatChunk(1, 8000, 16), dataChunk(320, { 1, 0, 2, 0, 3 }) });
    auto parsed = media::WaveData::parse(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->declaredFrames, 160u);
    EXPECT_EQ(parsed->availableFrames(), 2u);
}

TEST(WaveData, RejectsWhatItCannotPlay)
{
    std::vector<std::vector<uint8_t>> rejected = {
        {}, { 'R', 'I', 'F', 'F' }, wave({ dataChunk(2, { 0, 0 }) }), // samples before their format
        wave({ formatChunk(1, 8000, 24), dataChunk(3, { 0, 0, 0 }) }),
        wave({ formatChunk(0, 8000, 16), dataChunk(2, { 0, 0 }) }),
        wave({ formatChunk(1, 0, 16), dataChunk(2, { 0, 0 }) }), wave({ formatChunk(1, 8000, 16) }), // no samples
    };
    auto truncatedFormat = wave({ formatChunk(1, 8000, 16) });
    truncatedFormat.resize(truncatedFormat.size() - 4);
    rejected.push_back(truncatedFormat);
    std::string amr = "#!AMR\n";
    rejected.emplace_back(amr.begin(), amr.end());
    for (auto& bytes : rejected) {
        base::Error error;
        EXPECT_FALSE(media::WaveData::parse(bytes, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}
