#include "voice/AmrFrameReader.h"

#include "VoiceTestSignals.h"

#include <gtest/gtest.h>

namespace {

base::Data frame(uint8_t header, size_t size, uint8_t fill)
{
    base::Data bytes(size, fill);
    bytes[0] = header;
    return bytes;
}

} // namespace

TEST(AmrFrameReader, FrameSizesFollowTheEightBitRates)
{
    std::vector<size_t> sizes;
    for (unsigned type = 0; type < 16; ++type)
        sizes.push_back(voice::AmrFrameSize(type));
    EXPECT_EQ(sizes, (std::vector<size_t> { 13, 14, 16, 18, 20, 21, 27, 32, 0, 0, 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(voice::AmrFrameType(0x3C), 7u);
    EXPECT_EQ(voice::AmrFrameType(0x7C), 15u);
}

TEST(AmrFrameReader, FirstFrameIsTakenOnlyWhenWhollyPresent)
{
    auto data = test::bytesOf("#!AMR\n");
    auto body = frame(0x3C, 32, 0xAA);
    data.insert(data.end(), body.begin(), body.end());
    voice::AmrFrameBuffer buffer {};
    size_t size = 0;
    uint8_t header = 0;
    // The frame ends exactly at the end of the data.
    EXPECT_EQ(voice::ReadFirstAmrFrame(data, 6, buffer, size, header), 32u);
    EXPECT_EQ(header, 0x3C);
    EXPECT_EQ(buffer[0], 0x3C);
    EXPECT_EQ(buffer[31], 0xAA);

    data.pop_back();
    EXPECT_EQ(voice::ReadFirstAmrFrame(data, 6, buffer, size, header), 0u);
    EXPECT_EQ(size, 32u);
    EXPECT_EQ(voice::ReadFirstAmrFrame(data, 36, buffer, size, header), 0u); // one byte left
    EXPECT_EQ(voice::ReadFirstAmrFrame(data, 500, buffer, size, header), 0u);
}

TEST(AmrFrameReader, NextFrameSkipsBytesUntilTheFirstFramesHeader)
{
    base::Data data = frame(0x04, 13, 0x11); // another mode
    auto wanted = frame(0x3C, 32, 0x22);
    data.insert(data.end(), wanted.begin(), wanted.end());
    voice::AmrFrameBuffer buffer {};
    EXPECT_EQ(voice::ReadNextAmrFrame(data, 0, buffer, 32, 0x3C), 13u + 32u);
    EXPECT_EQ(buffer[0], 0x3C);
    EXPECT_EQ(buffer[31], 0x22);

    data.pop_back();
    EXPECT_EQ(voice::ReadNextAmrFrame(data, 0, buffer, 32, 0x3C), 0u);
    EXPECT_EQ(voice::ReadNextAmrFrame(data, data.size(), buffer, 32, 0x3C), 0u);
    EXPECT_EQ(voice::ReadNextAmrFrame(base::Data(20, 0x11), 0, buffer, 13, 0x3C), 0u);
}
