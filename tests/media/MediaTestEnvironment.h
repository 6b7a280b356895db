// Shared set-up of the media tests: the manual clock, a scripted backend whose outputs are captured, and a
// run loop emptied afterwards; and a builder of WAVE files to feed them.
#pragma once

#include "base/time/Clock.h"
#include "base/time/ManualClock.h"
#include "base/loop/RunLoop.h"
#include "media/backends/AudioBackend.h"
#include "media/backends/ScriptedAudioBackend.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace test {

// The bytes of a 16-bit PCM WAVE file; `declaredBytes` overrides the data chunk's stated size.
inline std::vector<uint8_t> makeWave(const std::vector<int16_t>& samples, uint32_t rate = 8000, uint16_t channels = 1,
    std::optional<uint32_t> declaredBytes = std::nullopt)
{
    std::vector<uint8_t> out;
    auto tag = [&](const char* t) { out.insert(out.end(), t, t + 4); };
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    tag("RIFF");
    put(static_cast<uint32_t>(36 + samples.size() * 2), 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * 2, 4);
    put(channels * 2u, 2);
    put(16, 2);
    tag("data");
    put(declaredBytes.value_or(static_cast<uint32_t>(samples.size() * 2)), 4);
    for (int16_t sample : samples)
        put(static_cast<uint16_t>(sample), 2);
    return out;
}

class MediaTest : public testing::Test {
protected:
    void SetUp() override
    {
        clock = base::ManualClock::install();
        backend = std::make_shared<media::ScriptedAudioBackend>(true);
        media::AudioBackend::setCurrent(backend);
    }
    void TearDown() override
    {
        base::RunLoop::main().cancelAllPendingWork();
        media::AudioBackend::setCurrent(nullptr);
        base::Clock::install(nullptr);
    }

    // A square wave of the given amplitude, `seconds` long at `rate`.
    static std::vector<int16_t> squareWave(int16_t amplitude, double seconds, double rate = 8000)
    {
        std::vector<int16_t> samples(static_cast<size_t>(seconds * rate));
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = (i / 20) % 2 ? amplitude : static_cast<int16_t>(-amplitude);
        return samples;
    }

    std::shared_ptr<base::ManualClock> clock;
    std::shared_ptr<media::ScriptedAudioBackend> backend;
};

} // namespace test
