#include "media/formats/CafWriter.h"

#include "base/loop/MainThread.h"
#include "media/playback/MediaError.h"

#include <bit>
#include <cstring>
#include <string_view>
#include <vector>

namespace media {

namespace {

    constexpr uint64_t DescOffset = 8;
    constexpr uint64_t DescBodySize = 32;
    constexpr uint64_t ChunkHeadSize = 12;
    constexpr uint64_t FreeOffset = DescOffset + ChunkHeadSize + DescBodySize;
    constexpr uint64_t DataOffset = 4080;
    constexpr uint64_t EditCountSize = 4;
    static_assert(DataOffset + ChunkHeadSize + EditCountSize == CafWriter::SampleDataOffset);

    constexpr uint32_t FormatLinearPCM = 0x6c70636d; // 'lpcm'
    constexpr uint32_t FlagIsLittleEndian = 2;
    constexpr uint64_t SizeWhileRecording = ~uint64_t(0);

    void putBigEndian(std::vector<uint8_t>& out, uint64_t value, int bytes)
    {
        for (int i = bytes - 1; i >= 0; --i)
            out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }

    void putChunkHead(std::vector<uint8_t>& out, std::string_view type, uint64_t size)
    {
        out.insert(out.end(), type.begin(), type.end());
        putBigEndian(out, size, 8);
    }

    std::vector<uint8_t> fileHead(const AudioFormat& format)
    {
        std::vector<uint8_t> head;
        head.reserve(CafWriter::SampleDataOffset);
        head.insert(head.end(), { 'c', 'a', 'f', 'f', 0, 1, 0, 0 });
        putChunkHead(head, "desc", DescBodySize);
        putBigEndian(head, std::bit_cast<uint64_t>(format.sampleRate), 8);
        putBigEndian(head, FormatLinearPCM, 4);
        putBigEndian(head, FlagIsLittleEndian, 4);
        putBigEndian(head, 2 * static_cast<uint32_t>(format.channels), 4); // bytes per packet
        putBigEndian(head, 1, 4); // frames per packet
        putBigEndian(head, static_cast<uint32_t>(format.channels), 4);
        putBigEndian(head, 16, 4); // bits per channel
        putChunkHead(head, "free", DataOffset - FreeOffset - ChunkHeadSize);
        head.resize(DataOffset, 0);
        putChunkHead(head, "data", SizeWhileRecording);
        putBigEndian(head, 0, 4); // edit count
        return head;
    }

} // namespace

std::unique_ptr<CafWriter> CafWriter::create(
    const std::filesystem::path& path, const AudioFormat& format, base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    auto head = fileHead(format);
    if (!file || std::fwrite(head.data(), 1, head.size(), file) != head.size()) {
        if (file)
            std::fclose(file);
        base::setError(error, makeError(MediaError::FileUnavailable, "cannot write " + path.string()));
        return nullptr;
    }
    return std::unique_ptr<CafWriter>(new CafWriter(file));
}

CafWriter::CafWriter(std::FILE* file)
    : m_file(file)
{
    BASE_ASSERT_MAIN_THREAD();
}

// A writer dropped without finish() still closes its file; a failure then has nobody to tell.
CafWriter::~CafWriter() { (void)finish(); }

bool CafWriter::append(std::span<const int16_t> samples)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_file)
        return false;
    std::vector<uint8_t> bytes(samples.size_bytes());
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(bytes.data(), samples.data(), bytes.size());
    } else {
        for (size_t i = 0; i < samples.size(); ++i) {
            bytes[2 * i] = static_cast<uint8_t>(samples[i]);
            bytes[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(samples[i]) >> 8);
        }
    }
    // Flushed at once, so the file on disk holds everything recorded so far.
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size() || std::fflush(m_file) != 0)
        return false;
    m_sampleBytes += bytes.size();
    return true;
}

bool CafWriter::finish()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_file)
        return false;
    std::vector<uint8_t> size;
    putBigEndian(size, EditCountSize + m_sampleBytes, 8);
    bool written = std::fseek(m_file, static_cast<long>(DataOffset + 4), SEEK_SET) == 0
        && std::fwrite(size.data(), 1, size.size(), m_file) == size.size();
    bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    return written && closed;
}

} // namespace media
