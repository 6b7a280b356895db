#include "tracking-service/DemoVoice.h"

#include "voice/PcmToAmr.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace tracking_service {

base::Data makeDemoVoice()
{
    constexpr int SampleRate = 8000;
    constexpr int SamplesPerTone = SampleRate * 3 / 4;
    constexpr double Tones[] = { 660.0, 880.0 };
    base::Data pcm;
    pcm.reserve(2 * SamplesPerTone * std::size(Tones));
    for (double frequency : Tones) {
        for (int i = 0; i < SamplesPerTone; ++i) {
            // Fade each tone in and out so the chime has no clicks.
            double envelope = std::sin(std::numbers::pi * i / SamplesPerTone);
            double sample = 12000.0 * envelope * std::sin(2.0 * std::numbers::pi * frequency * i / SampleRate);
            auto value = static_cast<int16_t>(std::lround(sample));
            pcm.push_back(static_cast<uint8_t>(value & 0xff));
            pcm.push_back(static_cast<uint8_t>((value >> 8) & 0xff));
        }
    }
    return voice::EncodePcmToAmr(pcm, 1, 16);
}

} // namespace tracking_service
