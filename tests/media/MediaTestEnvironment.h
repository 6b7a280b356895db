// Shared set-up of the media tests: the manual clock, a scripted backend whose outputs are captured, and a
// run loop emptied afterwards.
#pragma once

#include "base/Clock.h"
#include "base/ManualClock.h"
#include "base/RunLoop.h"
#include "media/AudioBackend.h"
#include "media/ScriptedAudioBackend.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace test {

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
