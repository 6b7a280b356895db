// A recorder's CAF file (or anything handed over as one) into the AMR conversion, in every PCM layout the
// conversion accepts; the first byte picks the layout.
#include "voice/PcmToAmr.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    int channels = 1 + (data[0] & 1);
    int bitsPerSample = (data[0] & 2) ? 8 : 16;
    // Only a crash counts: refusing the input is a fine outcome.
    (void)voice::ConvertCafToAmr(std::span<const uint8_t>(data + 1, size - 1), channels, bitsPerSample);
    return 0;
}
