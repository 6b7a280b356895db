#include "voice/RecordAudio.h"

#include "base/time/Date.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/system/Paths.h"
#include "media/playback/AudioSession.h"
#include "voice/AmrToWave.h"

#include <cstdio>
#include <system_error>

namespace voice {

namespace {

    // Seconds from 1970 to the platform's reference date, 2001-01-01 00:00:00 UTC.
    constexpr double ReferenceDateOffset = 978307200;
    constexpr double ShortestKeptRecording = 1.0;

    media::AudioRecorderSettings voiceSettings()
    {
        media::AudioRecorderSettings settings;
        settings.formatID = media::AudioRecorderSettings::FormatLinearPCM;
        settings.sampleRate = 8000.0;
        settings.numberOfChannels = 1;
        settings.linearPCMBitDepth = 16;
        settings.linearPCMIsNonInterleaved = false;
        settings.linearPCMIsFloat = false;
        settings.linearPCMIsBigEndian = false;
        return settings;
    }

    std::filesystem::path newRecordingPath()
    {
        double milliseconds = (base::Date::now().timeIntervalSince1970() - ReferenceDateOffset) * 1000;
        char name[64];
        std::snprintf(name, sizeof name, "%.0f.%s", milliseconds, "caf");
        return base::Paths::temporary() / name;
    }

    void removeFile(const std::filesystem::path& path)
    {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }

} // namespace

RecordAudio::RecordAudio()
{
    // A failure is kept in m_error; recording and playback then report their own.
    auto session = media::AudioSession::shared();
    (void)session->setCategory(media::AudioSession::Category::PlayAndRecord, &m_error);
    (void)session->setActive(true, &m_error);
    (void)session->overrideOutputAudioPort(media::AudioSession::PortOverride::Speaker, &m_error);
}

RecordAudio::~RecordAudio()
{
    if (m_playTimer)
        m_playTimer->invalidate();
    if (m_recorder && m_recorder->isRecording())
        (void)m_recorder->deleteRecording(); // a file that cannot be removed stays in the temporary folder
    m_recorder.reset();
    deleteKeptRecording();
    if (m_avPlayer)
        m_avPlayer->stop();
}

bool RecordAudio::startRecord()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_playTimer)
        return true;
    deleteKeptRecording();
    m_recordedTmpFile = newRecordingPath();
    m_recorder = media::AudioRecorder::make(*m_recordedTmpFile, voiceSettings(), &m_error);
    bool recording = false;
    if (m_recorder) {
        m_recorder->setMeteringEnabled(true);
        // A failure is kept in m_error; the recording then holds no samples.
        bool prepared = m_recorder->prepareToRecord(&m_error);
        recording = m_recorder->record(&m_error) && prepared;
    }
    m_meter.restart();
    m_playTimer = base::Timer::scheduled(RecordingMeter::Interval, true, [weak = weak_from_this()](base::Timer&) {
        if (auto self = weak.lock())
            self->meteringTick();
    });
    return recording;
}

void RecordAudio::meteringTick()
{
    m_meter.tick(m_recorder.get());
    if (auto delegate = m_delegate.lock())
        delegate->recording(m_meter.seconds(), static_cast<float>(m_meter.level()));
}

std::optional<std::filesystem::path> RecordAudio::stopRecord()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_playTimer)
        return std::nullopt;
    std::optional<std::filesystem::path> kept;
    if (m_recorder && m_recorder->currentTime() > ShortestKeptRecording) {
        kept = m_recorder->url();
        m_recorder->stop();
        m_recorder.reset();
        m_keptRecording = true;
    } else {
        if (m_recorder)
            (void)m_recorder->deleteRecording(); // a file that cannot be removed stays in the temporary folder
        m_recorder.reset();
        if (auto delegate = m_delegate.lock())
            delegate->failRecord();
    }
    m_playTimer->invalidate();
    m_playTimer.reset();
    return kept;
}

void RecordAudio::cancelRecord()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_playTimer)
        return;
    if (m_recorder)
        (void)m_recorder->deleteRecording(); // a file that cannot be removed stays in the temporary folder
    else if (m_recordedTmpFile)
        removeFile(*m_recordedTmpFile);
    m_recorder.reset();
    m_playTimer->invalidate();
    m_playTimer.reset();
}

void RecordAudio::deleteKeptRecording()
{
    if (m_keptRecording && m_recordedTmpFile)
        removeFile(*m_recordedTmpFile);
    m_keptRecording = false;
}

void RecordAudio::play(std::span<const uint8_t> amr)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_avPlayer) {
        stopPlay();
        return;
    }
    base::trace("voice", "start decode");
    auto wave = decodeAmr(amr);
    base::trace("voice", "end decode");
    bool started = false;
    if (wave) {
        m_avPlayer = media::AudioPlayer::makeWithData(*wave, &m_error);
        if (m_avPlayer) {
            m_avPlayer->setDelegate(weak_from_this());
            (void)m_avPlayer->prepareToPlay(&m_error); // play() prepares again and answers for both
            m_avPlayer->setVolume(1.0f);
            started = m_avPlayer->play();
        }
    }
    sendStatus(started ? StatusStarted : StatusStopped);
}

void RecordAudio::stopPlay()
{
    if (m_avPlayer)
        m_avPlayer->stop();
    sendStatus(StatusStopped);
}

std::optional<base::Data> RecordAudio::decodeAmr(std::span<const uint8_t> amr) const { return DecodeAmrToWave(amr); }

void RecordAudio::sendStatus(int status)
{
    auto reportedPlayer = m_avPlayer;
    if (auto delegate = m_delegate.lock())
        delegate->RecordStatus(status);
    // A delegate that started a new playback from its callback keeps it.
    if (status != StatusStarted && m_avPlayer && m_avPlayer == reportedPlayer) {
        m_avPlayer->stop();
        m_avPlayer.reset();
    }
}

double RecordAudio::getAudioTime(std::span<const uint8_t> data)
{
    auto player = media::AudioPlayer::makeWithData(data);
    return player ? player->duration() : 0;
}

void RecordAudio::audioPlayerDidFinishPlaying(media::AudioPlayer&, bool) { sendStatus(StatusStopped); }

void RecordAudio::audioPlayerDecodeErrorDidOccur(media::AudioPlayer&, const base::Error& error)
{
    base::setError(&m_error, error);
    sendStatus(StatusDecodeError);
}

} // namespace voice
