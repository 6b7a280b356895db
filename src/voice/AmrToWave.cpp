#include "voice/AmrToWave.h"

#include "base/system/Log.h"
#include "voice/AmrFrameReader.h"
#include "voice/Unwrap3gp.h"
#include "voice/WaveHeader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <opencore-amrnb/interf_dec.h>
#include <string>

namespace voice {

namespace {

    class AmrDecoder {
    public:
        AmrDecoder()
            : m_state(Decoder_Interface_init())
        {
        }
        ~AmrDecoder() { Decoder_Interface_exit(m_state); }
        AmrDecoder(const AmrDecoder&) = delete;
        AmrDecoder& operator=(const AmrDecoder&) = delete;

        bool isValid() const { return m_state != nullptr; }

        // Decodes one frame and appends its 160 samples, little-endian, to `out`.
        void decodeAppending(const AmrFrameBuffer& frame, base::Data& out)
        {
            std::array<int16_t, SamplesPerAmrFrame> pcm {};
            Decoder_Interface_Decode(m_state, frame.data(), pcm.data(), 0);
            size_t end = out.size();
            out.resize(end + BytesPerDecodedFrame);
            uint8_t* dest = out.data() + end;
            if constexpr (std::endian::native == std::endian::little) {
                std::memcpy(dest, pcm.data(), BytesPerDecodedFrame);
            } else {
                for (int16_t sample : pcm) {
                    *dest++ = static_cast<uint8_t>(sample);
                    *dest++ = static_cast<uint8_t>(static_cast<uint16_t>(sample) >> 8);
                }
            }
        }

    private:
        void* m_state;
    };

    base::Data decodeFrames(
        std::span<const uint8_t> amr, AmrDecoder& decoder, AmrFrameBuffer& frame, size_t frameSize, uint8_t header)
    {
        base::Data wave;
        size_t expectedFrames = (amr.size() - AmrMagic.size()) / frameSize;
        wave.reserve(WaveHeaderSize + expectedFrames * BytesPerDecodedFrame);
        wave.resize(WaveHeaderSize);

        decoder.decodeAppending(frame, wave);
        size_t frameCount = 1;
        size_t offset = AmrMagic.size() + frameSize;
        while (size_t advance = ReadNextAmrFrame(amr, offset, frame, frameSize, header)) {
            offset += advance;
            decoder.decodeAppending(frame, wave);
            ++frameCount;
        }
        base::trace("voice", "frame = " + std::to_string(frameCount));

        base::Data head;
        WriteWaveHeader(head, frameCount);
        std::copy(head.begin(), head.end(), wave.begin());
        return wave;
    }

} // namespace

std::optional<base::Data> DecodeAmrToWave(std::span<const uint8_t> data)
{
    if (data.empty())
        return std::nullopt;
    base::Data unwrapped;
    std::span<const uint8_t> amr = data;
    if (!HasAmrMagic(data)) {
        unwrapped = Unwrap3gpToAmr(data);
        if (!HasAmrMagic(unwrapped))
            return std::nullopt;
        amr = unwrapped;
    }

    AmrDecoder decoder;
    if (!decoder.isValid())
        return std::nullopt;
    AmrFrameBuffer frame {};
    size_t frameSize = 0;
    uint8_t header = 0;
    if (!ReadFirstAmrFrame(amr, AmrMagic.size(), frame, frameSize, header))
        return base::Data(amr.begin(), amr.end());
    return decodeFrames(amr, decoder, frame, frameSize, header);
}

} // namespace voice
