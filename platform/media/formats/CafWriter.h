// media::CafWriter: writes a recording as a CAF file of 16-bit little-endian integer PCM whose samples start at
// byte 4096: "caff" version 1, a "desc" chunk, a "free" chunk padding to byte 4080, and a "data" chunk whose
// body opens with a 4-byte edit count. The data chunk's size reads -1 ("still recording") until finish()
// writes the real one. Main thread.
//
//   auto writer = media::CafWriter::create(path, {8000, 1}, &error);
//   writer->append(samples); writer->finish();
#pragma once

#include "base/values/Error.h"
#include "media/formats/AudioFormat.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>

namespace media {

class CafWriter {
public:
    static constexpr uint64_t SampleDataOffset = 4096;

    static std::unique_ptr<CafWriter> create(
        const std::filesystem::path& path, const AudioFormat& format, base::Error* error = nullptr);
    ~CafWriter();
    CafWriter(const CafWriter&) = delete;
    CafWriter& operator=(const CafWriter&) = delete;

    [[nodiscard]] bool append(std::span<const int16_t> samples);
    // Writes the data chunk's size and closes the file; later appends fail.
    [[nodiscard]] bool finish();
    uint64_t sampleBytes() const { return m_sampleBytes; }

private:
    explicit CafWriter(std::FILE* file);

    std::FILE* m_file;
    uint64_t m_sampleBytes { 0 };
};

} // namespace media
