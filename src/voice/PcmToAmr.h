// Turning a fresh recording into an AMR-NB file for the watch: the recorder's CAF file (or raw PCM) is read in
// blocks of 160 samples, each encoded at 12.2 kbit/s without discontinuous transmission, behind the "#!AMR\n"
// magic. A trailing partial block is dropped. Callable from any thread.
//
//   auto amr = ConvertCafToAmr(fileBytes, 1, 16); // nothing when no samples follow the CAF head
#pragma once

#include "base/values/Value.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace voice {

using PcmFrame = std::array<int16_t, 160>;

// Bytes of one 160-sample block of interleaved PCM; 0 when the format has no whole sample.
size_t PcmBlockSize(int channels, int bitsPerSample);

// AMR storage data for the samples of a CAF file (or of raw PCM when the bytes are not a CAF file of the
// expected form); nothing when no byte follows the CAF head.
[[nodiscard]] std::optional<base::Data> ConvertCafToAmr(std::span<const uint8_t> data, int channels, int bitsPerSample);

// The magic and one frame for each whole block of 160 samples.
base::Data EncodePcmToAmr(std::span<const uint8_t> pcm, int channels, int bitsPerSample);

// Fills `out` from one block of little-endian interleaved integer samples (1 or 2 channels, 8 or 16 bits;
// stereo 16-bit is averaged, stereo 8-bit takes the left channel). Other formats leave `out` untouched.
// Returns the block's size in bytes; nothing is read when `in` holds less than a block.
size_t ReadPcmFrame(PcmFrame& out, std::span<const uint8_t> in, int channels, int bitsPerSample);

} // namespace voice
