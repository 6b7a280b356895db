#include "media/formats/CafWriter.h"

#include "support/TempDir.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

std::vector<uint8_t> readAll(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

std::vector<uint8_t> bytes(std::initializer_list<int> values)
{
    return std::vector<uint8_t>(values.begin(), values.end());
}

std::vector<uint8_t> slice(const std::vector<uint8_t>& data, size_t offset, size_t count)
{
    return std::vector<uint8_t>(data.begin() + offset, data.begin() + offset + count);
}

} // namespace

TEST(CafWriter, WritesTheHeadSoSamplesStartAtByte4096)
{
    test::TempDir dir;
    auto path = dir.path() / "voice.caf";
    auto writer = media::CafWriter::create(path, { 8000, 1 });
    ASSERT_TRUE(writer);
    std::vector<int16_t> samples = { 1, -2, 0x1234 };
    ASSERT_TRUE(writer->append(samples));

    auto file = readAll(path);
    ASSERT_EQ(file.size(), 4096u + 6);
    EXPECT_EQ(slice(file, 0, 8), bytes({ 'c', 'a', 'f', 'f', 0, 1, 0, 0 }));
    EXPECT_EQ(slice(file, 8, 12), bytes({ 'd', 'e', 's', 'c', 0, 0, 0, 0, 0, 0, 0, 32 }));
    EXPECT_EQ(slice(file, 20, 8), bytes({ 0x40, 0xBF, 0x40, 0, 0, 0, 0, 0 })); // 8000.0
    EXPECT_EQ(slice(file, 28, 24),
        bytes({ 'l', 'p', 'c', 'm', 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 16 }));
    EXPECT_EQ(slice(file, 52, 12), bytes({ 'f', 'r', 'e', 'e', 0, 0, 0, 0, 0, 0, 0x0F, 0xB0 })); // 4016
    EXPECT_EQ(slice(file, 4080, 16),
        bytes({ 'd', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0 }));
    EXPECT_EQ(slice(file, 4096, 6), bytes({ 1, 0, 0xFE, 0xFF, 0x34, 0x12 }));

    ASSERT_TRUE(writer->finish());
    file = readAll(path);
    EXPECT_EQ(slice(file, 4084, 8), bytes({ 0, 0, 0, 0, 0, 0, 0, 10 })); // edit count + 6 sample bytes
    EXPECT_FALSE(writer->append(samples));
}

TEST(CafWriter, DescribesStereoPackets)
{
    test::TempDir dir;
    auto path = dir.path() / "stereo.caf";
    EXPECT_TRUE(media::CafWriter::create(path, { 11025, 2 })->finish());
    auto file = readAll(path);
    ASSERT_EQ(file.size(), 4096u);
    EXPECT_EQ(slice(file, 36, 16), bytes({ 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 16 }));
    EXPECT_EQ(slice(file, 4084, 8), bytes({ 0, 0, 0, 0, 0, 0, 0, 4 }));
}

TEST(CafWriter, ReportsAFolderThatCannotBeWritten)
{
    base::Error error;
    EXPECT_FALSE(media::CafWriter::create("/nonexistent-folder/voice.caf", { 8000, 1 }, &error));
    EXPECT_FALSE(error.isEmpty());
}
