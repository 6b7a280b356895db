#include "media/backends/ScriptedAudioBackend.h"

#include "base/loop/MainThread.h"
#include "media/playback/MediaError.h"
#include "media/backends/NullAudioOutput.h"
#include "media/backends/ScriptedAudioInput.h"
#include "media/formats/WaveData.h"

#include <fstream>
#include <iterator>

namespace media {

ScriptedAudioBackend::ScriptedAudioBackend(bool captureOutputs)
    : m_captureOutputs(captureOutputs)
    , m_script(std::make_shared<const std::vector<int16_t>>())
{
    BASE_ASSERT_MAIN_THREAD();
}

std::shared_ptr<ScriptedAudioBackend> ScriptedAudioBackend::makeWithWaveFile(
    const std::filesystem::path& path, base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        base::setError(error, makeError(MediaError::FileUnavailable, "cannot read " + path.string()));
        return nullptr;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto wave = WaveData::parse(bytes, error);
    if (!wave)
        return nullptr;
    auto channels = static_cast<size_t>(wave->format.channels);
    std::vector<int16_t> mono(wave->availableFrames());
    for (size_t frame = 0; frame < mono.size(); ++frame) {
        int sum = 0;
        for (size_t channel = 0; channel < channels; ++channel)
            sum += wave->samples[frame * channels + channel];
        mono[frame] = static_cast<int16_t>(sum / static_cast<int>(channels));
    }
    auto backend = std::make_shared<ScriptedAudioBackend>();
    backend->setScript(std::move(mono));
    return backend;
}

void ScriptedAudioBackend::setScript(std::vector<int16_t> monoSamples)
{
    BASE_ASSERT_MAIN_THREAD();
    m_script = std::make_shared<const std::vector<int16_t>>(std::move(monoSamples));
}

std::shared_ptr<AudioInput> ScriptedAudioBackend::makeInput() { return std::make_shared<ScriptedAudioInput>(m_script); }

std::shared_ptr<AudioOutput> ScriptedAudioBackend::makeOutput()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_captureOutputs)
        return std::make_shared<NullAudioOutput>();
    auto output = std::make_shared<CapturingAudioOutput>();
    m_outputs.push_back(output);
    return output;
}

std::string ScriptedAudioBackend::name() const { return m_script->empty() && !m_captureOutputs ? "null" : "script"; }

} // namespace media
