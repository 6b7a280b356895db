// media::AudioPlayer: plays PCM WAVE data, from memory or from a file, on an output of the current backend.
// Playback moves with the run loop's clock: the position is the start position plus the frames elapsed since
// play, samples are written to the output as the clock reaches them (plus the output's lead), and the end is
// reported to the delegate on a later turn. A data chunk shorter than its declared size plays what is present,
// then reports a decoding error. Main thread.
//
//   auto player = media::AudioPlayer::makeWithData(wave, &error);
//   player->setDelegate(weak_from_this());
//   player->prepareToPlay(); player->setVolume(1.0); player->play();
#pragma once

#include "base/values/Error.h"
#include "base/loop/RunLoop.h"
#include "media/backends/AudioOutput.h"
#include "media/playback/AudioPlayerDelegate.h"
#include "media/playback/SampleClock.h"
#include "media/formats/WaveData.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>

namespace media {

class AudioPlayer : public std::enable_shared_from_this<AudioPlayer> {
public:
    // Null, with the reason in `error`, when the bytes are not PCM WAVE data this player handles.
    static std::shared_ptr<AudioPlayer> makeWithData(std::span<const uint8_t> data, base::Error* error = nullptr);
    static std::shared_ptr<AudioPlayer> makeWithContentsOfFile(
        const std::filesystem::path& path, base::Error* error = nullptr);
    explicit AudioPlayer(WaveData wave);
    ~AudioPlayer();
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    void setDelegate(std::weak_ptr<AudioPlayerDelegate> delegate) { m_delegate = std::move(delegate); }

    // Opens the output; play() does it when needed.
    [[nodiscard]] bool prepareToPlay(base::Error* error = nullptr);
    [[nodiscard]] bool play();
    // Keeps the position.
    void pause();
    // Keeps the position and releases the output.
    void stop();
    bool isPlaying() const { return m_clock.has_value(); }

    float volume() const { return m_volume; }
    // 0 to 1; applies to the samples written from now on.
    void setVolume(float volume);

    const AudioFormat& format() const { return m_wave.format; }
    double duration() const;
    double currentTime() const;
    void setCurrentTime(double seconds);

private:
    int64_t availableFrames() const { return static_cast<int64_t>(m_wave.availableFrames()); }
    int64_t currentFrame() const;
    void startClockAt(int64_t frame);
    void supplyOutput(int64_t upToFrame);
    void scheduleStep();
    void step();
    void halt();
    void reportEnd(bool decodeError);

    WaveData m_wave;
    std::shared_ptr<AudioOutput> m_output;
    std::weak_ptr<AudioPlayerDelegate> m_delegate;
    float m_volume { 1 };
    // The frame where the clock started (while playing) or where playback stands (otherwise).
    int64_t m_position { 0 };
    std::optional<SampleClock> m_clock;
    int64_t m_supplied { 0 };
    base::RunLoop::TaskHandle m_step;
};

} // namespace media
