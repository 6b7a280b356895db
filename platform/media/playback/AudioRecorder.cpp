#include "media/playback/AudioRecorder.h"

#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "media/backends/AudioBackend.h"
#include "media/playback/MediaError.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace media {

namespace {

    bool isSupported(const AudioRecorderSettings& settings)
    {
        return settings.formatID == AudioRecorderSettings::FormatLinearPCM && settings.linearPCMBitDepth == 16
            && !settings.linearPCMIsFloat && !settings.linearPCMIsBigEndian && !settings.linearPCMIsNonInterleaved
            && settings.numberOfChannels >= 1 && settings.numberOfChannels <= 8 && settings.sampleRate >= 1;
    }

    float decibelsFullScale(int peak)
    {
        if (peak <= 0)
            return AudioRecorder::MinimumPower;
        return std::max(AudioRecorder::MinimumPower, static_cast<float>(20 * std::log10(peak / 32768.0)));
    }

} // namespace

std::shared_ptr<AudioRecorder> AudioRecorder::make(
    std::filesystem::path url, const AudioRecorderSettings& settings, base::Error* error)
{
    if (!isSupported(settings)) {
        base::setError(error, makeError(MediaError::UnsupportedFormat, "unsupported recording settings"));
        return nullptr;
    }
    return std::make_shared<AudioRecorder>(
        std::move(url), AudioFormat { settings.sampleRate, settings.numberOfChannels });
}

AudioRecorder::AudioRecorder(std::filesystem::path url, const AudioFormat& format)
    : m_url(std::move(url))
    , m_format(format)
    , m_peaksSinceUpdate(static_cast<size_t>(format.channels), 0)
    , m_peakPowers(static_cast<size_t>(format.channels), MinimumPower)
{
}

AudioRecorder::~AudioRecorder() { stop(); }

bool AudioRecorder::prepareToRecord(base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_writer) {
        m_writer = CafWriter::create(m_url, m_format, error);
        m_framesWritten = 0;
    }
    return m_writer != nullptr;
}

bool AudioRecorder::record(base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    if (isRecording())
        return true;
    if (!prepareToRecord(error))
        return false;
    auto input = AudioBackend::current()->makeInput();
    if (!input->start(m_format, error))
        return false;
    m_input = std::move(input);
    return true;
}

void AudioRecorder::stop()
{
    if (m_input) {
        pullCapturedSamples();
        m_input->stop();
        m_input.reset();
    }
    if (m_writer) {
        if (!m_writer->finish())
            base::log("audio recorder: the recording's length could not be written");
        m_writer.reset();
    }
}

bool AudioRecorder::deleteRecording()
{
    stop();
    std::error_code ignored;
    return std::filesystem::remove(m_url, ignored);
}

double AudioRecorder::currentTime()
{
    if (!isRecording())
        return 0;
    pullCapturedSamples();
    return static_cast<double>(m_framesWritten) / m_format.sampleRate;
}

void AudioRecorder::updateMeters()
{
    pullCapturedSamples();
    for (size_t channel = 0; channel < m_peakPowers.size(); ++channel) {
        m_peakPowers[channel] = m_meteringEnabled ? decibelsFullScale(m_peaksSinceUpdate[channel]) : MinimumPower;
        m_peaksSinceUpdate[channel] = 0;
    }
}

float AudioRecorder::peakPowerForChannel(int channel) const
{
    if (channel < 0 || static_cast<size_t>(channel) >= m_peakPowers.size())
        return MinimumPower;
    return m_peakPowers[static_cast<size_t>(channel)];
}

void AudioRecorder::pullCapturedSamples()
{
    if (!m_input)
        return;
    m_buffer.clear();
    m_input->read(m_buffer);
    auto channels = static_cast<size_t>(m_format.channels);
    size_t frames = m_buffer.size() / channels;
    if (frames == 0 || !m_writer->append(std::span(m_buffer.data(), frames * channels)))
        return;
    m_framesWritten += frames;
    if (!m_meteringEnabled)
        return;
    for (size_t i = 0; i < frames * channels; ++i) {
        int& peak = m_peaksSinceUpdate[i % channels];
        peak = std::max(peak, std::abs(static_cast<int>(m_buffer[i])));
    }
}

} // namespace media
