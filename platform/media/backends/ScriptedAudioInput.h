// media::ScriptedAudioInput: a microphone stand-in that "captures" a given mono signal in step with the run
// loop's clock: once started, a read returns every sample due by the clock's present instant (rate x elapsed
// frames), each copied to all channels, until the script runs out; after that it captures nothing more. With
// an empty script it is the null input. Main thread.
//
//   media::ScriptedAudioInput input(signal);
//   input.start({8000, 1}); clock->advance(0.1s); input.read(out); // out holds 800 samples
#pragma once

#include "media/backends/AudioInput.h"
#include "media/playback/SampleClock.h"

#include <memory>
#include <optional>

namespace media {

class ScriptedAudioInput final : public AudioInput {
public:
    explicit ScriptedAudioInput(std::shared_ptr<const std::vector<int16_t>> script);

    bool start(const AudioFormat& format, base::Error* error = nullptr) override;
    void stop() override;
    void read(std::vector<int16_t>& out) override;

private:
    std::shared_ptr<const std::vector<int16_t>> m_script;
    AudioFormat m_format;
    std::optional<SampleClock> m_clock;
    size_t m_delivered { 0 };
};

} // namespace media
