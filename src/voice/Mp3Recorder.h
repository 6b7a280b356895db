// voice::Mp3Recorder: records stereo 16-bit linear PCM at 11025 Hz into "tmp.caf" in the temporary folder,
// metered like RecordAudio, and when the recording lasted more than 1 s converts it (synchronously, inside
// stopRecord) to MP3 in "mp3.caf", handing the MP3 bytes to its delegate. Main thread.
//
//   auto recorder = std::make_shared<voice::Mp3Recorder>(weak_from_this());
//   recorder->startRecord(); ...; recorder->stopRecord(); // -> beginConvert, endConvertWithData
#pragma once

#include "base/time/Timer.h"
#include "media/playback/AudioRecorder.h"
#include "media/playback/AudioSession.h"
#include "voice/Mp3RecorderDelegate.h"
#include "voice/RecordingMeter.h"

#include <filesystem>
#include <memory>
#include <string>

namespace voice {

class Mp3Recorder : public std::enable_shared_from_this<Mp3Recorder> {
public:
    explicit Mp3Recorder(std::weak_ptr<Mp3RecorderDelegate> delegate);
    ~Mp3Recorder();
    Mp3Recorder(const Mp3Recorder&) = delete;
    Mp3Recorder& operator=(const Mp3Recorder&) = delete;

    // Ignored while a recording runs.
    void startRecord();
    // Converts a recording of more than 1 s; a shorter one is deleted and reported with failRecord.
    void stopRecord();
    // Ends and deletes the recording without telling the delegate.
    void cancelRecord();
    void countVoiceTime();

    void setSesstion();
    void setRecorder();
    void setSavePath(std::string path) { m_path = std::move(path); }

    static std::filesystem::path cafPath();
    static std::filesystem::path mp3Path();
    void deleteMp3Cache();
    void deleteCafCache();
    static void deleteFileWithPath(const std::filesystem::path& path);
    // Encodes the recording, deletes it, and delivers the MP3 bytes (or reports the failure).
    void audio_PCMtoMP3();

    std::weak_ptr<Mp3RecorderDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<Mp3RecorderDelegate> delegate) { m_delegate = std::move(delegate); }
    std::shared_ptr<media::AudioSession> session() const { return m_session; }
    std::shared_ptr<media::AudioRecorder> recorder() const { return m_recorder; }
    const std::string& path() const { return m_path; }

    bool isRecording() const { return m_playTimer != nullptr; }
    double lowPassResults() const { return m_meter.level(); }
    float recordTime() const { return m_meter.seconds(); }

private:
    void dropTimer();

    RecordingMeter m_meter;
    std::shared_ptr<base::Timer> m_playTimer;
    std::weak_ptr<Mp3RecorderDelegate> m_delegate;
    std::shared_ptr<media::AudioSession> m_session;
    std::shared_ptr<media::AudioRecorder> m_recorder;
    std::string m_path;
};

} // namespace voice
