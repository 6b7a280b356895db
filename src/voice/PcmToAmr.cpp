#include "voice/PcmToAmr.h"

#include "voice/AmrFrameReader.h"
#include "voice/CafDataOffset.h"

#include <opencore-amrnb/interf_enc.h>

namespace voice {

namespace {

    class AmrEncoder {
    public:
        AmrEncoder()
            : m_state(Encoder_Interface_init(0))
        {
        }
        ~AmrEncoder() { Encoder_Interface_exit(m_state); }
        AmrEncoder(const AmrEncoder&) = delete;
        AmrEncoder& operator=(const AmrEncoder&) = delete;

        bool isValid() const { return m_state != nullptr; }

        // Encodes 160 samples at 12.2 kbit/s and appends the frame the encoder produced.
        void encodeAppending(const PcmFrame& speech, base::Data& out)
        {
            AmrFrameBuffer frame {};
            int written = Encoder_Interface_Encode(m_state, MR122, speech.data(), frame.data(), 0);
            if (written > 0 && static_cast<size_t>(written) <= frame.size())
                out.insert(out.end(), frame.begin(), frame.begin() + written);
        }

    private:
        void* m_state;
    };

    int16_t littleEndian16(const uint8_t* bytes)
    {
        return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
    }

    // CAF integer samples are signed: an 8-bit sample spans the 16-bit range when scaled by 256.
    int16_t widen8(uint8_t byte) { return static_cast<int16_t>(static_cast<int8_t>(byte) * 256); }

} // namespace

size_t PcmBlockSize(int channels, int bitsPerSample)
{
    if (channels < 1 || bitsPerSample < 8)
        return 0;
    return static_cast<size_t>(channels) * static_cast<size_t>(bitsPerSample / 8) * PcmFrame {}.size();
}

size_t ReadPcmFrame(PcmFrame& out, std::span<const uint8_t> in, int channels, int bitsPerSample)
{
    size_t blockSize = PcmBlockSize(channels, bitsPerSample);
    if (blockSize == 0 || in.size() < blockSize)
        return blockSize;
    const uint8_t* p = in.data();
    if (channels == 1 && bitsPerSample == 16) {
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = littleEndian16(p + 2 * i);
    } else if (channels == 2 && bitsPerSample == 16) {
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<int16_t>((littleEndian16(p + 4 * i) + littleEndian16(p + 4 * i + 2)) >> 1);
    } else if (channels == 1 && bitsPerSample == 8) {
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = widen8(p[i]);
    } else if (channels == 2 && bitsPerSample == 8) {
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = widen8(p[2 * i]);
    }
    return blockSize;
}

base::Data EncodePcmToAmr(std::span<const uint8_t> pcm, int channels, int bitsPerSample)
{
    base::Data amr(AmrMagic.begin(), AmrMagic.end());
    size_t blockSize = PcmBlockSize(channels, bitsPerSample);
    AmrEncoder encoder;
    if (blockSize == 0 || !encoder.isValid())
        return amr;
    amr.reserve(AmrMagic.size() + pcm.size() / blockSize * AmrFrameBufferSize);
    PcmFrame speech {};
    for (size_t offset = 0; pcm.size() - offset >= blockSize; offset += blockSize) {
        ReadPcmFrame(speech, pcm.subspan(offset, blockSize), channels, bitsPerSample);
        encoder.encodeAppending(speech, amr);
    }
    return amr;
}

std::optional<base::Data> ConvertCafToAmr(std::span<const uint8_t> data, int channels, int bitsPerSample)
{
    size_t samplesStart = FindCafDataOffset(data);
    if (data.size() <= samplesStart)
        return std::nullopt;
    return EncodePcmToAmr(data.subspan(samplesStart), channels, bitsPerSample);
}

} // namespace voice
