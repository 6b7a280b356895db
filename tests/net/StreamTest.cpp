#include "net/streams/BoundStreamPair.h"
#include "net/streams/FileOutputStream.h"
#include "net/streams/InputStream.h"
#include "net/streams/MemoryOutputStream.h"
#include "support/TempDir.h"

#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>

using namespace net;

namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

} // namespace

TEST(StreamFileOutput, ShortWritesAreRetriedUntilTheChunkIsWhole)
{
    test::TempDir folder;
    FileOutputStream stream(folder.path() / "out", false);
    stream.setWriteFunction([](int descriptor, const void* bytes, size_t length) -> ssize_t {
        return ::write(descriptor, bytes, std::min<size_t>(length, 3));
    });
    stream.open();
    const std::string text = "a chunk of eleven";
    EXPECT_EQ(stream.write(reinterpret_cast<const uint8_t*>(text.data()), text.size()), ptrdiff_t(text.size()));
    EXPECT_EQ(stream.fileCurrentOffset(), text.size());
    stream.close();
    EXPECT_EQ(readFile(folder.path() / "out"), text);
    EXPECT_EQ(std::filesystem::status(folder.path() / "out").permissions(),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
        << "a downloaded file is the user's alone";
}

TEST(StreamFileOutput, AWriteThatCannotFinishFailsTheStream)
{
    test::TempDir folder;
    FileOutputStream stream(folder.path() / "out", false);
    stream.setWriteFunction([](int, const void*, size_t) -> ssize_t { return 0; });
    stream.open();
    EXPECT_EQ(stream.write(reinterpret_cast<const uint8_t*>("abc"), 3), -1);
    EXPECT_EQ(stream.status(), StreamStatus::Error);
    ASSERT_TRUE(stream.streamError());
    EXPECT_EQ(stream.streamError()->code(), ENOSPC);
    EXPECT_FALSE(stream.hasSpaceAvailable());
}

TEST(StreamFileOutput, AppendingStartsAtTheEndOfTheFile)
{
    test::TempDir folder;
    std::ofstream(folder.path() / "partial") << "12345";
    auto stream = OutputStream::toFile(folder.path() / "partial", true);
    stream->open();
    EXPECT_EQ(stream->fileCurrentOffset(), 5u);
    stream->write(reinterpret_cast<const uint8_t*>("678"), 3);
    stream->close();
    EXPECT_EQ(readFile(folder.path() / "partial"), "12345678");
}

// The length a reply announces only makes room: the body is what arrived, shorter or longer, and an absurd
// announcement (a hostile server's) reserves no more than the bound.
TEST(StreamMemoryOutput, KeepsExactlyWhatWasWrittenWhateverLengthWasAnnounced)
{
    auto collect = [](uint64_t announced, std::string_view body) {
        MemoryOutputStream memory;
        OutputStream* stream = &memory;
        stream->open();
        memory.expectLength(announced);
        for (char c : body) {
            auto byte = static_cast<uint8_t>(c);
            EXPECT_EQ(stream->write(&byte, 1), 1);
        }
        auto data = stream->takeDataWrittenToMemory().value_or(base::Data());
        return std::string(data.begin(), data.end());
    };
    EXPECT_EQ(collect(10, "abcd"), "abcd");
    EXPECT_EQ(collect(2, "abcde"), "abcde");
    EXPECT_EQ(collect(uint64_t(1) << 62, "xyz"), "xyz");
}

TEST(StreamInput, FilesAndDataReadToTheEndAndCopyForASecondSending)
{
    test::TempDir folder;
    std::ofstream(folder.path() / "in") << "file body";
    for (auto stream :
        { InputStream::withFile(folder.path() / "in"), InputStream::withData(base::Data { 'd', 'a', 't', 'a' }) }) {
        auto again = stream->copy();
        ASSERT_TRUE(again);
        for (auto& source : { stream, again }) {
            source->open();
            std::string text;
            uint8_t buffer[4];
            ptrdiff_t count = 0;
            while ((count = source->read(buffer, sizeof buffer)) > 0)
                text.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(count));
            EXPECT_EQ(count, 0);
            EXPECT_EQ(source->status(), StreamStatus::AtEnd);
            EXPECT_TRUE(text == "file body" || text == "data");
        }
    }
    auto missing = InputStream::withFile(folder.path() / "missing");
    missing->open();
    EXPECT_EQ(missing->status(), StreamStatus::Error);
    uint8_t byte;
    EXPECT_EQ(missing->read(&byte, 1), -1);
}

TEST(StreamBoundPair, CarriesBytesWithinItsBufferAndEndsWithTheWriter)
{
    auto pair = BoundStreamPair::make(4);
    pair.input->open();
    pair.output->open();
    EXPECT_FALSE(pair.input->hasBytesAvailable());
    EXPECT_EQ(pair.output->write(reinterpret_cast<const uint8_t*>("abcdef"), 6), 4) << "only what fits";
    EXPECT_FALSE(pair.output->hasSpaceAvailable());
    uint8_t buffer[8];
    EXPECT_EQ(pair.input->read(buffer, sizeof buffer), 4);
    EXPECT_TRUE(pair.output->hasSpaceAvailable());
    pair.output->close();
    EXPECT_TRUE(pair.input->hasBytesAvailable());
    EXPECT_EQ(pair.input->read(buffer, sizeof buffer), 0);
}

TEST(StreamBoundPair, AWritersErrorReachesTheReaderAfterTheBufferedBytes)
{
    auto pair = BoundStreamPair::make(16);
    pair.input->open();
    pair.output->open();
    ASSERT_EQ(pair.output->write(reinterpret_cast<const uint8_t*>("ab"), 2), 2);
    pair.output->closeWithError(base::Error("Test", 7));
    uint8_t buffer[8];
    EXPECT_EQ(pair.input->read(buffer, sizeof buffer), 2);
    EXPECT_EQ(pair.input->read(buffer, sizeof buffer), -1);
    EXPECT_EQ(pair.input->streamError()->code(), 7);
}

TEST(StreamBoundPair, AWriterThatGoesAwayWithoutClosingIsAnErrorNotAnEnd)
{
    auto pair = BoundStreamPair::make(16);
    pair.input->open();
    pair.output->open();
    pair.output.reset();
    uint8_t buffer[8];
    EXPECT_EQ(pair.input->read(buffer, sizeof buffer), -1);
}

TEST(StreamBoundPair, TheWriterFailsOnceTheReaderHasClosed)
{
    auto pair = BoundStreamPair::make(16);
    pair.input->open();
    pair.output->open();
    pair.input->close();
    EXPECT_EQ(pair.output->write(reinterpret_cast<const uint8_t*>("ab"), 2), -1);
}
