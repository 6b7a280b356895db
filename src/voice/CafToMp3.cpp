#include "voice/CafToMp3.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <lame/lame.h>
#include <memory>
#include <string>
#include <vector>

namespace voice {

namespace {

    constexpr long SampleDataOffset = 4096;
    constexpr int SampleRate = 11025;
    constexpr size_t FramesPerChunk = 8192;
    constexpr size_t BytesPerFrame = 4; // two 16-bit samples
    // LAME's documented worst case for one call: 1.25 x samples per channel + 7200 bytes.
    constexpr size_t Mp3BufferSize = FramesPerChunk * 5 / 4 + 7200;

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using File = std::unique_ptr<std::FILE, FileCloser>;

    struct LameCloser {
        void operator()(lame_global_flags* state) const { lame_close(state); }
    };
    using Lame = std::unique_ptr<lame_global_flags, LameCloser>;

    bool fail(base::Error* error, std::string description)
    {
        base::setError(error,
            base::Error(base::Error::FoundationDomain, 0,
                { { base::Value(base::Error::LocalizedDescriptionKey), base::Value(std::move(description)) } }));
        return false;
    }

    Lame makeEncoder()
    {
        Lame lame(lame_init());
        if (!lame)
            return nullptr;
        lame_set_in_samplerate(lame.get(), SampleRate);
        lame_set_VBR(lame.get(), vbr_default);
        if (lame_init_params(lame.get()) < 0)
            return nullptr;
        return lame;
    }

    // Reads up to a chunk of whole frames as native samples; the count of frames read.
    size_t readFrames(std::FILE* file, std::array<uint8_t, FramesPerChunk * BytesPerFrame>& bytes,
        std::array<short, FramesPerChunk * 2>& pcm)
    {
        size_t frames = std::fread(bytes.data(), BytesPerFrame, FramesPerChunk, file);
        for (size_t i = 0; i < frames * 2; ++i)
            pcm[i] = static_cast<short>(static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
        return frames;
    }

} // namespace

bool EncodeCafToMp3(const std::filesystem::path& caf, const std::filesystem::path& mp3, base::Error* error)
{
    File input(std::fopen(caf.c_str(), "rb"));
    if (!input || std::fseek(input.get(), SampleDataOffset, SEEK_SET) != 0)
        return fail(error, "cannot read the recording " + caf.string());
    File output(std::fopen(mp3.c_str(), "wb"));
    if (!output)
        return fail(error, "cannot write " + mp3.string());
    Lame lame = makeEncoder();
    if (!lame)
        return fail(error, "the MP3 encoder cannot start");

    auto bytes = std::make_unique<std::array<uint8_t, FramesPerChunk * BytesPerFrame>>();
    auto pcm = std::make_unique<std::array<short, FramesPerChunk * 2>>();
    std::vector<unsigned char> mp3Buffer(Mp3BufferSize);
    for (;;) {
        size_t frames = readFrames(input.get(), *bytes, *pcm);
        if (frames == 0 && std::ferror(input.get()))
            return fail(error, "cannot read the recording " + caf.string());
        int size = frames > 0 ? lame_encode_buffer_interleaved(lame.get(), pcm->data(), static_cast<int>(frames),
                       mp3Buffer.data(), static_cast<int>(mp3Buffer.size()))
                              : lame_encode_flush(lame.get(), mp3Buffer.data(), static_cast<int>(mp3Buffer.size()));
        if (size < 0)
            return fail(error, "the MP3 encoder failed with code " + std::to_string(size));
        if (std::fwrite(mp3Buffer.data(), 1, static_cast<size_t>(size), output.get()) != static_cast<size_t>(size))
            return fail(error, "cannot write " + mp3.string());
        if (frames == 0)
            break;
    }
    if (std::fclose(output.release()) != 0)
        return fail(error, "cannot write " + mp3.string());
    return true;
}

} // namespace voice
