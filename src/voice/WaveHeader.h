// The 48-byte WAVE header put in front of decoded voice: 8000 Hz mono 16-bit linear PCM with a 20-byte format
// chunk, so that the sample data starts at byte 48. Callable from any thread.
//
//   base::Data wave;
//   WriteWaveHeader(wave, frameCount); // then frameCount x 320 bytes of samples
#pragma once

#include "base/values/Value.h"

#include <cstddef>
#include <cstdint>

namespace voice {

inline constexpr size_t WaveHeaderSize = 48;
// One decoded 20 ms frame: 160 samples of 16 bits.
inline constexpr size_t SamplesPerAmrFrame = 160;
inline constexpr size_t BytesPerDecodedFrame = SamplesPerAmrFrame * 2;

// Appends the header for `frameCount` decoded frames to `data`.
void WriteWaveHeader(base::Data& data, size_t frameCount);

} // namespace voice
