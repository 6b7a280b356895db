// media::ScriptedAudioBackend: the backend of tests and of machines without sound. Every input it makes plays
// the current script (a mono signal set by a test or read from a WAVE file) from its start; every output either
// discards its samples or, when capturing, is kept so that a test can inspect what was played. Without a script
// and without capturing it is the null backend. Main thread.
//
//   auto backend = std::make_shared<media::ScriptedAudioBackend>(true);
//   backend->setScript(sine(440, 2.0));
//   media::AudioBackend::setCurrent(backend);
#pragma once

#include "media/backends/AudioBackend.h"
#include "media/backends/CapturingAudioOutput.h"

#include <filesystem>
#include <vector>

namespace media {

class ScriptedAudioBackend final : public AudioBackend {
public:
    explicit ScriptedAudioBackend(bool captureOutputs = false);

    // Null when the file is not a readable PCM WAVE file; its channels are mixed down to one.
    static std::shared_ptr<ScriptedAudioBackend> makeWithWaveFile(
        const std::filesystem::path& path, base::Error* error = nullptr);

    void setScript(std::vector<int16_t> monoSamples);

    std::shared_ptr<AudioInput> makeInput() override;
    std::shared_ptr<AudioOutput> makeOutput() override;
    std::string name() const override;

    // The capturing outputs made so far, oldest first.
    const std::vector<std::shared_ptr<CapturingAudioOutput>>& outputs() const { return m_outputs; }

private:
    bool m_captureOutputs;
    std::shared_ptr<const std::vector<int16_t>> m_script;
    std::vector<std::shared_ptr<CapturingAudioOutput>> m_outputs;
};

} // namespace media
