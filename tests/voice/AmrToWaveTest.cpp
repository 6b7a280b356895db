#include "voice/AmrToWave.h"

#include "VoiceTestSignals.h"
#include "base/system/Log.h"
#include "voice/PcmToAmr.h"
#include "voice/Unwrap3gp.h"
#include "voice/WaveHeader.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

// Frames of the 12.2 kbit/s mode made by the encoder, without the magic.
base::Data mr122Frames(size_t count)
{
    auto pcm = test::littleEndianBytes(test::speechLike(count * 0.02));
    auto amr = voice::EncodePcmToAmr(pcm, 1, 16);
    return base::Data(amr.begin() + 6, amr.end());
}

base::Data amrFile(const base::Data& frames)
{
    auto data = test::bytesOf("#!AMR\n");
    data.insert(data.end(), frames.begin(), frames.end());
    return data;
}

void putBigEndian32(base::Data& data, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        data.push_back(static_cast<uint8_t>(value >> shift));
}

// An Android voice file: an "ftyp" box of the given size, then a box holding the frames.
base::Data threeGp(uint32_t ftypSize, const base::Data& frames, std::optional<uint32_t> declaredBoxSize = {})
{
    base::Data data;
    putBigEndian32(data, ftypSize);
    auto brand = test::bytesOf("ftyp3gp4");
    data.insert(data.end(), brand.begin(), brand.end());
    data.resize(std::max<size_t>(ftypSize & ~3u, 16), 0);
    putBigEndian32(data, declaredBoxSize.value_or(static_cast<uint32_t>(8 + frames.size())));
    auto type = test::bytesOf("mdat");
    data.insert(data.end(), type.begin(), type.end());
    data.insert(data.end(), frames.begin(), frames.end());
    return data;
}

// A box: its size, its four-letter type, then `payload`.
base::Data box(const char* type, const base::Data& payload)
{
    base::Data data;
    putBigEndian32(data, static_cast<uint32_t>(8 + payload.size()));
    data.insert(data.end(), type, type + 4);
    data.insert(data.end(), payload.begin(), payload.end());
    return data;
}

base::Data concat(std::initializer_list<base::Data> parts)
{
    base::Data data;
    for (const auto& part : parts)
        data.insert(data.end(), part.begin(), part.end());
    return data;
}

base::Data fileTypeBox()
{
    return box("ftyp", concat({ test::bytesOf("3gp4"), base::Data(4, 0), test::bytesOf("isom") }));
}

// A movie box describing one track whose first sample entry is `sampleEntry` ("samr", "sawb").
base::Data movie(const char* sampleEntry)
{
    base::Data description(8, 0); // version, flags, entry count
    description[7] = 1;
    auto entry = box(sampleEntry, base::Data(28, 0));
    description.insert(description.end(), entry.begin(), entry.end());
    auto table = box("stbl", box("stsd", description));
    return box("moov", concat({ box("mvhd", base::Data(100, 0)), box("trak", box("mdia", box("minf", table))) }));
}

size_t decodedFrames(const base::Data& wave) { return (wave.size() - voice::WaveHeaderSize) / 320; }

class AmrToWave : public testing::Test {
    base::Log::ScopedCapture m_quiet;
};

} // namespace

TEST(WaveHeader, IsTheFortyEightByteMonoHeader)
{
    base::Data header;
    voice::WriteWaveHeader(header, 3);
    base::Data expected = test::bytesOf("RIFF");
    for (uint8_t b : { 0xE8, 0x03, 0, 0 })
        expected.push_back(b); // 960 + 40
    for (const char* part : { "WAVE", "fmt " }) {
        auto tag = test::bytesOf(part);
        expected.insert(expected.end(), tag.begin(), tag.end());
    }
    for (uint8_t b : { 20, 0, 0, 0, 1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0, 0, 0, 0, 0 })
        expected.push_back(b);
    auto tag = test::bytesOf("data");
    expected.insert(expected.end(), tag.begin(), tag.end());
    for (uint8_t b : { 0xC0, 0x03, 0, 0 })
        expected.push_back(b);
    EXPECT_EQ(header, expected);
}

TEST_F(AmrToWave, OneFrameBecomesOneBlockOfSamples)
{
    auto wave = voice::DecodeAmrToWave(amrFile(mr122Frames(1)));
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->size(), 48u + 320);
    EXPECT_EQ(test::littleEndian32(*wave, 4), 360u);
    EXPECT_EQ(test::littleEndian32(*wave, 44), 320u);
}

TEST_F(AmrToWave, EveryFrameIsDecodedAndCounted)
{
    base::Log::ScopedCapture log;
    base::Log::ScopedCategories voice("voice");
    auto wave = voice::DecodeAmrToWave(amrFile(mr122Frames(25)));
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->size(), 48u + 25 * 320);
    EXPECT_EQ(test::littleEndian32(*wave, 4), 25u * 320 + 40);
    EXPECT_EQ(test::littleEndian32(*wave, 44), 25u * 320);
    EXPECT_TRUE(log.contains("frame = 25"));
}

TEST_F(AmrToWave, FramesOfAnotherModeArePassedOver)
{
    auto frames = mr122Frames(3);
    base::Data other(13, 0x55);
    other[0] = 0x04;
    frames.insert(frames.begin() + 32, other.begin(), other.end());
    auto wave = voice::DecodeAmrToWave(amrFile(frames));
    ASSERT_TRUE(wave);
    EXPECT_EQ(decodedFrames(*wave), 3u);
    EXPECT_EQ(test::littleEndian32(*wave, 44), 3u * 320);
}

TEST_F(AmrToWave, TruncatedDataDecodesItsWholeFrames)
{
    auto frames = mr122Frames(4);
    frames.erase(frames.end() - 5, frames.end());
    auto wave = voice::DecodeAmrToWave(amrFile(frames));
    ASSERT_TRUE(wave);
    EXPECT_EQ(decodedFrames(*wave), 3u);
}

TEST_F(AmrToWave, DataWithoutAReadableFirstFrameComesBackUnchanged)
{
    auto magic = test::bytesOf("#!AMR\n");
    EXPECT_EQ(voice::DecodeAmrToWave(magic), magic);
    auto oneByte = amrFile({ 0x3C });
    EXPECT_EQ(voice::DecodeAmrToWave(oneByte), oneByte);
    // A first frame of types 8-15 has no size: it is not read.
    auto noData = amrFile(base::Data(40, 0x7C));
    EXPECT_EQ(voice::DecodeAmrToWave(noData), noData);
}

TEST_F(AmrToWave, DataThatIsNeitherAmrNor3gpGivesNothing)
{
    EXPECT_FALSE(voice::DecodeAmrToWave({}));
    EXPECT_FALSE(voice::DecodeAmrToWave(base::Data(49, 'x')));
    auto longButNot3gp = base::Data(200, 'x');
    EXPECT_FALSE(voice::DecodeAmrToWave(longButNot3gp));
}

TEST_F(AmrToWave, UnwrapsAndroid3gpFiles)
{
    auto frames = mr122Frames(5);
    // "ftyp" box of 24 bytes: the frames start at 32; of 18 bytes: the next box is at 16, frames at 24.
    for (uint32_t ftypSize : { 24u, 18u }) {
        auto file = threeGp(ftypSize, frames);
        EXPECT_EQ(voice::Unwrap3gpToAmr(file), amrFile(frames));
        auto wave = voice::DecodeAmrToWave(file);
        ASSERT_TRUE(wave);
        EXPECT_EQ(decodedFrames(*wave), 5u);
    }
    auto plain = amrFile(frames);
    EXPECT_EQ(voice::Unwrap3gpToAmr(plain), plain);
}

TEST_F(AmrToWave, MalformedContainersAreNeverReadBeyondTheData)
{
    auto frames = mr122Frames(3);

    // A box that claims more than the file holds gives the frames that are there.
    auto wave = voice::DecodeAmrToWave(threeGp(24, frames, 100000));
    ASSERT_TRUE(wave);
    EXPECT_EQ(decodedFrames(*wave), 3u);

    // Box heads beyond the data, sizes below a box head and the 64-bit size form are not unwrapped.
    auto ftypPastEnd = threeGp(24, frames);
    ftypPastEnd[0] = 0x7F;
    auto sizeZero = threeGp(24, frames, 0);
    auto sizeOne = threeGp(24, frames, 1);
    auto sizeSeven = threeGp(24, frames, 7);
    for (auto* file : { &ftypPastEnd, &sizeZero, &sizeOne, &sizeSeven }) {
        EXPECT_EQ(voice::Unwrap3gpToAmr(*file), *file);
        EXPECT_FALSE(voice::DecodeAmrToWave(*file));
    }
}

TEST_F(AmrToWave, FindsTheMediaBoxPastOtherTopLevelBoxes)
{
    auto frames = mr122Frames(4);
    auto fileType = fileTypeBox();
    auto media = box("mdat", frames);
    auto movieFirst = concat({ fileType, box("free", base::Data(12, 0)), movie("samr"), media });
    auto movieLast = concat({ fileType, media, movie("samr") });
    for (const auto* file : { &movieFirst, &movieLast }) {
        EXPECT_EQ(voice::Unwrap3gpToAmr(*file), amrFile(frames));
        auto wave = voice::DecodeAmrToWave(*file);
        ASSERT_TRUE(wave);
        EXPECT_EQ(decodedFrames(*wave), 4u);
    }
}

TEST_F(AmrToWave, RefusesATrackThatIsNotAmrNarrowBandLikeUnreadableData)
{
    auto frames = mr122Frames(4);
    auto fileType = fileTypeBox();
    auto wideBand = concat({ fileType, movie("sawb"), box("mdat", frames) });
    auto noMediaBox = concat({ fileType, box("free", frames), movie("samr") });
    for (const auto* file : { &wideBand, &noMediaBox }) {
        EXPECT_EQ(voice::Unwrap3gpToAmr(*file), *file);
        EXPECT_FALSE(voice::DecodeAmrToWave(*file));
    }
}
