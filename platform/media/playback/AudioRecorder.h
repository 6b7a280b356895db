// media::AudioRecorder: records from the current backend's input into a CAF file (see CafWriter), with
// metering. The recording's time is the number of frames written divided by the rate, never the wall clock:
// captured samples are pulled from the input whenever the time or the meters are asked for, and at stop.
// With an input that captures nothing (the null backend) a recording stays at 0 s. Main thread.
//
//   auto recorder = media::AudioRecorder::make(path, settings, &error);
//   recorder->setMeteringEnabled(true); recorder->record();
//   recorder->updateMeters(); float db = recorder->peakPowerForChannel(0); // 0 is full scale
#pragma once

#include "base/values/Error.h"
#include "media/formats/AudioFormat.h"
#include "media/backends/AudioInput.h"
#include "media/playback/AudioRecorderSettings.h"
#include "media/formats/CafWriter.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace media {

class AudioRecorder {
public:
    // The level reported for silence and for channels without samples.
    static constexpr float MinimumPower = -160;

    // Null, with the reason in `error`, when the settings ask for something other than 16-bit interleaved
    // little-endian integer PCM of one or more channels.
    static std::shared_ptr<AudioRecorder> make(
        std::filesystem::path url, const AudioRecorderSettings& settings, base::Error* error = nullptr);
    AudioRecorder(std::filesystem::path url, const AudioFormat& format);
    ~AudioRecorder();
    AudioRecorder(const AudioRecorder&) = delete;
    AudioRecorder& operator=(const AudioRecorder&) = delete;

    const std::filesystem::path& url() const { return m_url; }
    const AudioFormat& format() const { return m_format; }

    // Creates the file; record() does it when needed.
    [[nodiscard]] bool prepareToRecord(base::Error* error = nullptr);
    // Starts the input; false when the file or the input cannot be opened.
    [[nodiscard]] bool record(base::Error* error = nullptr);
    // Ends the recording and closes the file with its final size.
    void stop();
    // Stops and removes the file.
    [[nodiscard]] bool deleteRecording();
    bool isRecording() const { return m_input != nullptr; }

    // Seconds recorded so far; 0 when not recording.
    double currentTime();

    void setMeteringEnabled(bool enabled) { m_meteringEnabled = enabled; }
    bool isMeteringEnabled() const { return m_meteringEnabled; }
    // Takes the peaks of the samples captured since the previous update.
    void updateMeters();
    // The last updated peak of a channel in dBFS (0 full scale, MinimumPower for silence).
    float peakPowerForChannel(int channel) const;

private:
    void pullCapturedSamples();

    std::filesystem::path m_url;
    AudioFormat m_format;
    std::unique_ptr<CafWriter> m_writer;
    std::shared_ptr<AudioInput> m_input;
    std::vector<int16_t> m_buffer;
    uint64_t m_framesWritten { 0 };
    bool m_meteringEnabled { false };
    std::vector<int> m_peaksSinceUpdate;
    std::vector<float> m_peakPowers;
};

} // namespace media
