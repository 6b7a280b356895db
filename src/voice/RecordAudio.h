// voice::RecordAudio: records the user's voice and plays voice messages. A recording is 8 kHz mono 16-bit
// linear PCM in a temporary CAF file, metered ten times a second (elapsed time and a smoothed level to the
// delegate); one of 1 s or less is discarded. Playback decodes AMR (or 3GP-wrapped AMR) data to WAVE and
// plays it, reporting statuses 0, 1 and 2 to the delegate. Recording and playing are independent. Main thread.
//
//   auto recorder = std::make_shared<voice::RecordAudio>();
//   recorder->setDelegate(weak_from_this());
//   recorder->startRecord(); ...; if (auto file = recorder->stopRecord()) send(*file);
#pragma once

#include "base/values/Error.h"
#include "base/time/Timer.h"
#include "base/values/Value.h"
#include "media/playback/AudioPlayer.h"
#include "media/playback/AudioPlayerDelegate.h"
#include "media/playback/AudioRecorder.h"
#include "voice/RecordAudioDelegate.h"
#include "voice/RecordingMeter.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>

namespace voice {

class RecordAudio : public media::AudioPlayerDelegate, public std::enable_shared_from_this<RecordAudio> {
public:
    static constexpr int StatusStarted = 0;
    static constexpr int StatusStopped = 1;
    static constexpr int StatusDecodeError = 2;

    // Sets the shared audio session to play-and-record, active, with output on the loudspeaker.
    RecordAudio();
    ~RecordAudio() override;
    RecordAudio(const RecordAudio&) = delete;
    RecordAudio& operator=(const RecordAudio&) = delete;

    // Ignored while a recording runs. Deletes the file of the previous kept recording, which its receiver
    // has read by now. Whether the recorder takes sound: false when no input (no microphone) could be
    // started, the cause in error(); the recording then holds no samples until it is stopped or cancelled.
    [[nodiscard]] bool startRecord();
    // The recording's file when it lasted more than 1.0 s; otherwise nothing (the file is deleted and the
    // delegate told). Nothing either when no recording runs.
    [[nodiscard]] std::optional<std::filesystem::path> stopRecord();
    // Ends and deletes the recording without telling the delegate.
    void cancelRecord();

    // Starts playing AMR data, or stops a playback in progress.
    void play(std::span<const uint8_t> amr);
    // Stops playback, if any, and reports status 1.
    void stopPlay();
    [[nodiscard]] std::optional<base::Data> decodeAmr(std::span<const uint8_t> amr) const;
    void sendStatus(int status);
    // The player's duration for the data (0 when it cannot play it).
    static double getAudioTime(std::span<const uint8_t> data);

    void setDelegate(std::weak_ptr<RecordAudioDelegate> delegate) { m_delegate = std::move(delegate); }
    std::weak_ptr<RecordAudioDelegate> delegate() const { return m_delegate; }

    bool isRecording() const { return m_playTimer != nullptr; }
    bool isPlaying() const { return m_avPlayer != nullptr; }
    double lowPassResults() const { return m_meter.level(); }
    float recordTime() const { return m_meter.seconds(); }
    const base::Error& error() const { return m_error; }

    void audioPlayerDidFinishPlaying(media::AudioPlayer& player, bool successfully) override;
    void audioPlayerDecodeErrorDidOccur(media::AudioPlayer& player, const base::Error& error) override;

private:
    void meteringTick();
    void deleteKeptRecording();

    std::optional<std::filesystem::path> m_recordedTmpFile;
    std::shared_ptr<media::AudioRecorder> m_recorder;
    base::Error m_error;
    std::shared_ptr<media::AudioPlayer> m_avPlayer;
    RecordingMeter m_meter;
    std::shared_ptr<base::Timer> m_playTimer;
    std::weak_ptr<RecordAudioDelegate> m_delegate;
    bool m_keptRecording { false };
};

} // namespace voice
