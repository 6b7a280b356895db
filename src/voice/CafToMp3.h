// Converting the MP3 recorder's CAF file to MP3 with the LAME encoder: the 16-bit little-endian interleaved
// stereo samples from byte 4096 on (a fixed offset, whatever the chunk layout before it) are encoded at
// 11025 Hz in LAME's default variable-bit-rate mode. Any failure of the files or of the encoder is reported,
// never taken for a finished file. Runs on the caller's thread.
//
//   base::Error error;
//   if (!EncodeCafToMp3(caf, mp3, &error)) base::log(error.localizedDescription());
#pragma once

#include "base/values/Error.h"

#include <filesystem>

namespace voice {

[[nodiscard]] bool EncodeCafToMp3(
    const std::filesystem::path& caf, const std::filesystem::path& mp3, base::Error* error = nullptr);

} // namespace voice
