// Signals and byte helpers shared by the voice tests.
#pragma once

#include "base/values/Value.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <string>
#include <vector>

namespace test {

// Three partials under a slow syllable-like envelope: enough structure for a speech codec to keep.
inline std::vector<int16_t> speechLike(double seconds, double rate = 8000)
{
    std::vector<int16_t> samples(static_cast<size_t>(seconds * rate));
    for (size_t i = 0; i < samples.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double envelope = 0.55 + 0.45 * std::sin(2 * std::numbers::pi * 3 * t);
        double tone = std::sin(2 * std::numbers::pi * 220 * t) + 0.6 * std::sin(2 * std::numbers::pi * 660 * t)
            + 0.3 * std::sin(2 * std::numbers::pi * 1320 * t);
        samples[i] = static_cast<int16_t>(6000 * envelope * tone);
    }
    return samples;
}

inline base::Data littleEndianBytes(std::span<const int16_t> samples)
{
    base::Data bytes;
    for (int16_t sample : samples) {
        bytes.push_back(static_cast<uint8_t>(sample));
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(sample) >> 8));
    }
    return bytes;
}

inline base::Data bytesOf(const std::string& text) { return base::Data(text.begin(), text.end()); }

inline uint32_t littleEndian32(const base::Data& data, size_t offset)
{
    return data[offset] | (data[offset + 1] << 8) | (data[offset + 2] << 16) | (uint32_t(data[offset + 3]) << 24);
}

} // namespace test
