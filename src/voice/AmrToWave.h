// Turning a received voice file into playable WAVE data: AMR-NB storage data, or a 3GP file holding AMR, is
// decoded with the AMR-NB decoder into 8000 Hz mono 16-bit samples behind a 48-byte WAVE header. Every frame
// is decoded with the first frame's mode; frames of another mode are passed over. Callable from any thread.
//
//   if (auto wave = DecodeAmrToWave(file)) player = media::AudioPlayer::makeWithData(*wave);
#pragma once

#include "base/values/Value.h"

#include <cstdint>
#include <optional>
#include <span>

namespace voice {

// WAVE data; or the (unwrapped) AMR data itself when it holds no readable first frame; or nothing when the
// data is empty or is neither AMR nor 3GP-wrapped AMR.
[[nodiscard]] std::optional<base::Data> DecodeAmrToWave(std::span<const uint8_t> data);

} // namespace voice
