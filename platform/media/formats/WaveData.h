// media::WaveData: linear PCM WAVE data (8- or 16-bit, any chunk layout with "fmt " before "data") read into
// 16-bit samples. A data chunk that declares more bytes than the data holds keeps what is present and says how
// much it declared, so a player can report a decoding error where the samples run out. Any thread.
//
//   auto wave = media::WaveData::parse(bytes, &error);
//   if (wave) play(wave->samples, wave->format);
#pragma once

#include "base/values/Error.h"
#include "media/formats/AudioFormat.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace media {

struct WaveData {
    AudioFormat format;
    std::vector<int16_t> samples; // interleaved, the whole frames present
    size_t declaredFrames { 0 }; // what the data chunk's size promises

    size_t availableFrames() const { return samples.size() / static_cast<size_t>(format.channels); }

    [[nodiscard]] static std::optional<WaveData> parse(std::span<const uint8_t> bytes, base::Error* error = nullptr);
};

} // namespace media
