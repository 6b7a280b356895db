// AMR storage data and 3GP-wrapped AMR, as downloaded from a watch or a phone, into the WAVE conversion.
#include "voice/AmrToWave.h"

#include "base/system/Log.h"

#include <cstddef>
#include <cstdint>
#include <span>

// The conversion logs a line per file; at fuzzing speed that output would be most of the work.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    base::Log::setSink([](std::string_view) { });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Only a crash counts: refusing the input is a fine outcome.
    (void)voice::DecodeAmrToWave(std::span<const uint8_t>(data, size));
    return 0;
}
