#include "media/playback/AudioPlayer.h"

#include "base/loop/MainThread.h"
#include "media/backends/AudioBackend.h"
#include "media/playback/MediaError.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

namespace media {

namespace {

    // How often a playing player writes the samples the clock has reached.
    constexpr base::Duration StepInterval = std::chrono::milliseconds(20);

} // namespace

std::shared_ptr<AudioPlayer> AudioPlayer::makeWithData(std::span<const uint8_t> data, base::Error* error)
{
    auto wave = WaveData::parse(data, error);
    if (!wave)
        return nullptr;
    return std::make_shared<AudioPlayer>(std::move(*wave));
}

std::shared_ptr<AudioPlayer> AudioPlayer::makeWithContentsOfFile(const std::filesystem::path& path, base::Error* error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        base::setError(error, makeError(MediaError::FileUnavailable, "cannot read " + path.string()));
        return nullptr;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return makeWithData(bytes, error);
}

AudioPlayer::AudioPlayer(WaveData wave)
    : m_wave(std::move(wave))
{
}

AudioPlayer::~AudioPlayer()
{
    if (m_step)
        base::RunLoop::main().cancel(m_step);
}

bool AudioPlayer::prepareToPlay(base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_output)
        return true;
    auto output = AudioBackend::current()->makeOutput();
    if (!output->open(m_wave.format, error))
        return false;
    m_output = std::move(output);
    return true;
}

bool AudioPlayer::play()
{
    BASE_ASSERT_MAIN_THREAD();
    if (isPlaying())
        return true;
    if (!prepareToPlay())
        return false;
    startClockAt(m_position);
    return true;
}

void AudioPlayer::pause()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!isPlaying())
        return;
    m_position = currentFrame();
    halt();
}

void AudioPlayer::stop()
{
    pause();
    m_output.reset();
}

void AudioPlayer::setVolume(float volume) { m_volume = std::clamp(volume, 0.0f, 1.0f); }

double AudioPlayer::duration() const { return static_cast<double>(m_wave.declaredFrames) / m_wave.format.sampleRate; }

double AudioPlayer::currentTime() const { return static_cast<double>(currentFrame()) / m_wave.format.sampleRate; }

void AudioPlayer::setCurrentTime(double seconds)
{
    BASE_ASSERT_MAIN_THREAD();
    auto declared = static_cast<int64_t>(m_wave.declaredFrames);
    int64_t frame = std::clamp<int64_t>(std::llround(seconds * m_wave.format.sampleRate), 0, declared);
    if (!isPlaying()) {
        m_position = frame;
        return;
    }
    halt();
    startClockAt(frame);
}

int64_t AudioPlayer::currentFrame() const
{
    if (!m_clock)
        return m_position;
    return std::min(m_position + m_clock->framesAt(base::Clock::current()->now()), availableFrames());
}

void AudioPlayer::startClockAt(int64_t frame)
{
    m_position = frame;
    m_supplied = frame;
    m_clock.emplace(m_wave.format.sampleRate, base::Clock::current()->now());
    supplyOutput(frame + m_clock->framesAt(m_clock->start() + base::Clock::ticks(m_output->lead())));
    scheduleStep();
}

void AudioPlayer::supplyOutput(int64_t upToFrame)
{
    upToFrame = std::min(upToFrame, availableFrames());
    if (upToFrame <= m_supplied)
        return;
    auto channels = static_cast<size_t>(m_wave.format.channels);
    std::span<const int16_t> samples(m_wave.samples.data() + static_cast<size_t>(m_supplied) * channels,
        static_cast<size_t>(upToFrame - m_supplied) * channels);
    m_supplied = upToFrame;
    if (m_volume >= 1) {
        m_output->write(samples);
        return;
    }
    std::vector<int16_t> scaled(samples.size());
    std::transform(samples.begin(), samples.end(), scaled.begin(),
        [volume = m_volume](int16_t sample) { return static_cast<int16_t>(std::lround(sample * volume)); });
    m_output->write(scaled);
}

void AudioPlayer::scheduleStep()
{
    auto now = base::Clock::current()->now();
    auto end = m_clock->instantOfFrame(availableFrames() - m_position);
    auto due = std::min(now + base::Clock::ticks(StepInterval), std::max(end, now));
    m_step = base::RunLoop::main().performAt(
        due,
        [weak = weak_from_this()] {
            if (auto self = weak.lock())
                self->step();
        },
        this);
}

void AudioPlayer::step()
{
    m_step.reset();
    if (!isPlaying())
        return;
    int64_t frame = currentFrame();
    auto leadFrames = m_clock->framesAt(m_clock->start() + base::Clock::ticks(m_output->lead()));
    supplyOutput(frame + leadFrames);
    if (frame < availableFrames()) {
        scheduleStep();
        return;
    }
    bool decodeError = availableFrames() < static_cast<int64_t>(m_wave.declaredFrames);
    // Everything has been written and its time has passed: nothing is left to flush.
    m_clock.reset();
    m_position = decodeError ? frame : 0;
    reportEnd(decodeError);
}

void AudioPlayer::halt()
{
    if (m_step)
        base::RunLoop::main().cancel(m_step);
    m_step.reset();
    m_clock.reset();
    if (m_output)
        m_output->flush();
}

void AudioPlayer::reportEnd(bool decodeError)
{
    base::RunLoop::main().post([weak = weak_from_this(), decodeError] {
        auto self = weak.lock();
        auto delegate = self ? self->m_delegate.lock() : nullptr;
        if (!delegate)
            return;
        if (decodeError)
            delegate->audioPlayerDecodeErrorDidOccur(
                *self, makeError(MediaError::DecodeFailed, "sample data ends early"));
        else
            delegate->audioPlayerDidFinishPlaying(*self, true);
    });
}

} // namespace media
