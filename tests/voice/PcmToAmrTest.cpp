#include "voice/PcmToAmr.h"

#include "VoiceTestSignals.h"
#include "base/system/Log.h"
#include "voice/AmrToWave.h"
#include "voice/CafDataOffset.h"

#include <gtest/gtest.h>

namespace {

void putBigEndian(base::Data& data, uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        data.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putChunk(base::Data& data, const char* type, uint64_t size)
{
    data.insert(data.end(), type, type + 4);
    putBigEndian(data, size, 8);
}

// A recorder's file: the samples start at byte 4096, after the data chunk's edit count.
base::Data cafFile(const base::Data& samples, const char* secondChunk = "free")
{
    auto data = test::bytesOf("caff");
    putBigEndian(data, 0x00010000, 4);
    putChunk(data, "desc", 32);
    data.resize(data.size() + 32, 0);
    putChunk(data, secondChunk, 4080 - 64);
    data.resize(4080, 0);
    putChunk(data, "data", 4 + samples.size());
    putBigEndian(data, 0, 4);
    data.insert(data.end(), samples.begin(), samples.end());
    return data;
}

size_t frameCount(const base::Data& amr) { return (amr.size() - 6) / 32; }

} // namespace

TEST(PcmToAmr, EncodesEachWholeBlockOfARecordingAsOneFrame)
{
    auto samples = test::littleEndianBytes(test::speechLike(0.2)); // 3200 bytes
    auto amr = voice::ConvertCafToAmr(cafFile(samples), 1, 16);
    ASSERT_TRUE(amr);
    EXPECT_EQ(amr->size(), 326u);
    EXPECT_EQ(base::Data(amr->begin(), amr->begin() + 6), test::bytesOf("#!AMR\n"));
    for (size_t offset = 6; offset < amr->size(); offset += 32)
        EXPECT_EQ((*amr)[offset], 0x3C);

    samples.resize(3500, 0x11); // a partial block is dropped
    EXPECT_EQ(voice::ConvertCafToAmr(cafFile(samples), 1, 16)->size(), 326u);
}

TEST(PcmToAmr, DataThatIsNotARecordersCafIsEncodedFromItsFirstByte)
{
    base::Data raw(960, 0);
    EXPECT_EQ(frameCount(*voice::ConvertCafToAmr(raw, 1, 16)), 3u);
    EXPECT_EQ(voice::ConvertCafToAmr(base::Data(319, 0), 1, 16), test::bytesOf("#!AMR\n"));

    auto samples = test::littleEndianBytes(test::speechLike(0.2));
    auto otherLayout = cafFile(samples, "kuki");
    EXPECT_EQ(voice::FindCafDataOffset(otherLayout), 0u);
    EXPECT_EQ(frameCount(*voice::ConvertCafToAmr(otherLayout, 1, 16)), otherLayout.size() / 320);
}

TEST(PcmToAmr, EmptyDataOrAHeadWithoutSamplesGivesNothing)
{
    EXPECT_FALSE(voice::ConvertCafToAmr({}, 1, 16));
    auto headOnly = cafFile({});
    headOnly.resize(4092);
    EXPECT_EQ(voice::FindCafDataOffset(headOnly), 4092u);
    EXPECT_FALSE(voice::ConvertCafToAmr(headOnly, 1, 16));
}

TEST(PcmToAmr, CafChunkHeadsBeyondTheDataAreNotRead)
{
    auto samples = test::littleEndianBytes(test::speechLike(0.1));
    EXPECT_EQ(voice::FindCafDataOffset(cafFile(samples)), 4092u);

    auto cut = cafFile(samples);
    cut.resize(4085); // inside the data chunk's head
    EXPECT_EQ(voice::FindCafDataOffset(cut), 0u);

    auto hugeDesc = cafFile(samples);
    hugeDesc[16] = 0x7F; // desc size low 32 bits far past the end
    hugeDesc[19] = 0xFF;
    EXPECT_EQ(voice::FindCafDataOffset(hugeDesc), 0u);

    auto zeroFree = cafFile(samples);
    for (int i = 56; i < 64; ++i)
        zeroFree[i] = 0;
    EXPECT_EQ(voice::FindCafDataOffset(zeroFree), 0u);

    EXPECT_EQ(voice::FindCafDataOffset(test::bytesOf("caff")), 0u);
}

TEST(PcmToAmr, ReadsEveryPcmLayout)
{
    voice::PcmFrame out {};
    base::Data stereo16;
    for (int i = 0; i < 160; ++i)
        for (int16_t sample : { int16_t(-1001), int16_t(3000) })
            for (uint8_t b : test::littleEndianBytes(std::vector<int16_t> { sample }))
                stereo16.push_back(b);
    EXPECT_EQ(voice::ReadPcmFrame(out, stereo16, 2, 16), 640u);
    EXPECT_EQ(out[0], 999); // (-1001 + 3000) >> 1
    EXPECT_EQ(out[159], 999);

    base::Data negativeMean = stereo16;
    negativeMean[2] = 0xFE; // right sample -2
    negativeMean[3] = 0xFF;
    voice::ReadPcmFrame(out, negativeMean, 2, 16);
    EXPECT_EQ(out[0], -502); // -1003 / 2 rounded down

    // Integer samples are signed: an 8-bit sample is its signed value x 256.
    base::Data mono8(160, 0);
    mono8[0] = 0x80;
    mono8[1] = 0x7F;
    mono8[2] = 0xFF;
    EXPECT_EQ(voice::ReadPcmFrame(out, mono8, 1, 8), 160u);
    EXPECT_EQ(out[0], -32768);
    EXPECT_EQ(out[1], 32512);
    EXPECT_EQ(out[2], -256);
    EXPECT_EQ(out[3], 0);

    base::Data stereo8(320, 0x40);
    stereo8[0] = 0xC0; // left
    stereo8[1] = 0x7F; // right, ignored
    EXPECT_EQ(voice::ReadPcmFrame(out, stereo8, 2, 8), 320u);
    EXPECT_EQ(out[0], -64 * 256);
    EXPECT_EQ(out[1], 64 * 256);

    out.fill(7);
    EXPECT_EQ(voice::ReadPcmFrame(out, base::Data(960, 1), 3, 16), 960u);
    EXPECT_EQ(out[0], 7);
}

TEST(PcmToAmr, FormatsWithoutWholeSamplesEncodeNothing)
{
    base::Data pcm(3200, 1);
    for (auto [channels, bits] : { std::pair { 0, 16 }, std::pair { 1, 4 }, std::pair { -2, 16 } })
        EXPECT_EQ(voice::EncodePcmToAmr(pcm, channels, bits), test::bytesOf("#!AMR\n"));
}

TEST(PcmToAmr, RoundTripKeepsTheSignal)
{
    base::Log::ScopedCapture quiet;
    auto signal = test::speechLike(1.0);
    auto amr = voice::ConvertCafToAmr(cafFile(test::littleEndianBytes(signal)), 1, 16);
    ASSERT_TRUE(amr);
    EXPECT_EQ(frameCount(*amr), 50u);
    auto wave = voice::DecodeAmrToWave(*amr);
    ASSERT_TRUE(wave);
    ASSERT_EQ(wave->size(), 48u + 50 * 320);

    std::vector<double> decoded;
    for (size_t i = 48; i + 1 < wave->size(); i += 2)
        decoded.push_back(static_cast<int16_t>((*wave)[i] | ((*wave)[i + 1] << 8)));
    // The codec delays the signal a little and does not keep every partial's phase: take the best of the first
    // lags, skipping the warm-up. A byte-order, offset or framing fault would leave no correlation at all.
    double best = 0;
    double inputEnergy = 0, outputEnergy = 0;
    for (size_t lag = 0; lag < 80; ++lag) {
        double dot = 0;
        inputEnergy = outputEnergy = 0;
        for (size_t i = 800; i + lag < decoded.size() && i < signal.size(); ++i) {
            dot += signal[i] * decoded[i + lag];
            inputEnergy += double(signal[i]) * signal[i];
            outputEnergy += decoded[i + lag] * decoded[i + lag];
        }
        best = std::max(best, dot / std::sqrt(inputEnergy * outputEnergy));
    }
    EXPECT_GT(best, 0.7);
    EXPECT_NEAR(std::sqrt(outputEnergy / inputEnergy), 1.0, 0.3);
}
