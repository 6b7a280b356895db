#include "voice/Mp3Recorder.h"

#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/system/Paths.h"
#include "voice/CafToMp3.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace voice {

namespace {

    constexpr double ShortestConvertedRecording = 1.0;

    media::AudioRecorderSettings mp3Settings()
    {
        media::AudioRecorderSettings settings;
        settings.formatID = media::AudioRecorderSettings::FormatLinearPCM;
        settings.sampleRate = 11025.0;
        settings.numberOfChannels = 2;
        settings.encoderAudioQuality = 0;
        return settings;
    }

    base::Data readFile(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return base::Data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }

} // namespace

Mp3Recorder::Mp3Recorder(std::weak_ptr<Mp3RecorderDelegate> delegate)
    : m_delegate(std::move(delegate))
    , m_path(mp3Path().string())
{
}

Mp3Recorder::~Mp3Recorder()
{
    if (m_playTimer)
        m_playTimer->invalidate();
}

void Mp3Recorder::startRecord()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_playTimer)
        return;
    setSesstion();
    setRecorder();
    if (m_recorder && !m_recorder->record())
        base::log("mp3 recorder: recording could not start");
    m_meter.restart();
    m_playTimer = base::Timer::scheduled(RecordingMeter::Interval, true, [weak = weak_from_this()](base::Timer&) {
        if (auto self = weak.lock())
            self->countVoiceTime();
    });
}

void Mp3Recorder::countVoiceTime()
{
    m_meter.tick(m_recorder.get());
    if (auto delegate = m_delegate.lock())
        delegate->recording(m_meter.seconds(), static_cast<float>(m_meter.level()));
}

void Mp3Recorder::stopRecord()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_playTimer)
        return;
    double seconds = m_recorder ? m_recorder->currentTime() : 0;
    if (m_recorder)
        m_recorder->stop();
    if (seconds <= ShortestConvertedRecording) {
        if (m_recorder)
            (void)m_recorder->deleteRecording(); // the next recording writes over the same file
        if (auto delegate = m_delegate.lock())
            delegate->failRecord();
    } else {
        audio_PCMtoMP3();
    }
    dropTimer();
}

void Mp3Recorder::cancelRecord()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_playTimer)
        return;
    if (m_recorder)
        (void)m_recorder->deleteRecording(); // the next recording writes over the same file
    dropTimer();
}

void Mp3Recorder::dropTimer()
{
    m_playTimer->invalidate();
    m_playTimer.reset();
}

void Mp3Recorder::setSesstion()
{
    m_session = media::AudioSession::shared();
    bool ready = m_session->setCategory(media::AudioSession::Category::PlayAndRecord);
    ready = m_session->setActive(true) && ready;
    if (!ready)
        base::log("mp3 recorder: the audio session could not be set up");
}

void Mp3Recorder::setRecorder()
{
    m_recorder.reset();
    base::Error error;
    m_recorder = media::AudioRecorder::make(cafPath(), mp3Settings(), &error);
    if (!m_recorder) {
        base::log(error.description());
        return;
    }
    m_recorder->setMeteringEnabled(true);
    if (!m_recorder->prepareToRecord(&error))
        base::log(error.description());
}

std::filesystem::path Mp3Recorder::cafPath() { return base::Paths::temporary() / "tmp.caf"; }

std::filesystem::path Mp3Recorder::mp3Path() { return base::Paths::temporary() / "mp3.caf"; }

void Mp3Recorder::deleteMp3Cache() { deleteFileWithPath(mp3Path()); }

void Mp3Recorder::deleteCafCache() { deleteFileWithPath(cafPath()); }

void Mp3Recorder::deleteFileWithPath(const std::filesystem::path& path)
{
    std::error_code ignored;
    if (std::filesystem::remove(path, ignored))
        base::log("删除以前的mp3文件");
}

void Mp3Recorder::audio_PCMtoMP3()
{
    deleteMp3Cache();
    base::log("MP3转换开始");
    if (auto delegate = m_delegate.lock())
        delegate->beginConvert();

    base::Error error;
    bool converted = EncodeCafToMp3(cafPath(), mp3Path(), &error);
    if (!converted)
        base::log(error.localizedDescription());

    if (!media::AudioSession::shared()->setCategory(media::AudioSession::Category::SoloAmbient))
        base::log("mp3 recorder: the audio session could not be given back");
    deleteCafCache();
    base::log("MP3转换结束");
    auto delegate = m_delegate.lock();
    if (!converted) {
        deleteMp3Cache();
        if (delegate)
            delegate->failRecord();
        return;
    }
    if (delegate)
        delegate->endConvertWithData(readFile(mp3Path()));
}

} // namespace voice
