// Shared set-up of the recorder and player tests: the manual clock, a scripted backend whose outputs are
// captured, an empty temporary folder, and a run loop emptied afterwards.
#pragma once

#include "base/time/Clock.h"
#include "base/system/Log.h"
#include "base/time/ManualClock.h"
#include "base/system/Paths.h"
#include "base/loop/RunLoop.h"
#include "media/backends/AudioBackend.h"
#include "media/backends/ScriptedAudioBackend.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace test {

class VoiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove_all(base::Paths::temporary());
        clock = base::ManualClock::install();
        backend = std::make_shared<media::ScriptedAudioBackend>(true);
        media::AudioBackend::setCurrent(backend);
        quiet.emplace();
    }
    void TearDown() override
    {
        base::RunLoop::main().cancelAllPendingWork();
        media::AudioBackend::setCurrent(nullptr);
        base::Clock::install(nullptr);
    }

    static std::vector<std::filesystem::path> temporaryFiles()
    {
        std::vector<std::filesystem::path> files;
        for (auto& entry : std::filesystem::directory_iterator(base::Paths::temporary()))
            files.push_back(entry.path());
        return files;
    }

    // Constant-amplitude square wave: its peak in every metering tick is `amplitude`.
    static std::vector<int16_t> squareWave(int16_t amplitude, double seconds, double rate = 8000)
    {
        std::vector<int16_t> samples(static_cast<size_t>(seconds * rate));
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = (i / 10) % 2 ? amplitude : static_cast<int16_t>(-amplitude);
        return samples;
    }

    std::shared_ptr<base::ManualClock> clock;
    std::shared_ptr<media::ScriptedAudioBackend> backend;
    std::optional<base::Log::ScopedCapture> quiet;
};

} // namespace test
