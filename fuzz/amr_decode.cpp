// AMR storage data and 3GP-wrapped AMR, as downloaded from a watch or a phone, into the WAVE conversion.
#include "voice/AmrToWave.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    voice::DecodeAmrToWave(std::span<const uint8_t>(data, size));
    return 0;
}
