#include "media/playback/AudioPlayer.h"

#include "MediaTestEnvironment.h"
#include "media/playback/MediaError.h"
#include "support/TempDir.h"

#include <chrono>
#include <fstream>
#include <optional>

using namespace std::chrono_literals;

namespace {

std::vector<int16_t> ramp(size_t count)
{
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>(i % 1000);
    return samples;
}

class RecordingDelegate : public media::AudioPlayerDelegate {
public:
    void audioPlayerDidFinishPlaying(media::AudioPlayer& player, bool successfully) override
    {
        finished.push_back(successfully);
        if (onEnd)
            onEnd(player);
    }
    void audioPlayerDecodeErrorDidOccur(media::AudioPlayer& player, const base::Error& error) override
    {
        errors.push_back(error);
        if (onEnd)
            onEnd(player);
    }
    std::vector<bool> finished;
    std::vector<base::Error> errors;
    std::function<void(media::AudioPlayer&)> onEnd;
};

class AudioPlayerTest : public test::MediaTest {
protected:
    std::shared_ptr<media::AudioPlayer> makePlayer(const std::vector<uint8_t>& wave)
    {
        auto player = media::AudioPlayer::makeWithData(wave);
        if (player)
            player->setDelegate(delegate);
        return player;
    }
    const std::vector<int16_t>& played() { return backend->outputs().back()->samples(); }

    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

} // namespace

TEST_F(AudioPlayerTest, PlaysAlongTheClockAndReportsTheEndOnALaterTurn)
{
    auto samples = ramp(8000);
    auto player = makePlayer(test::makeWave(samples));
    ASSERT_TRUE(player);
    EXPECT_DOUBLE_EQ(player->duration(), 1.0);
    ASSERT_TRUE(player->play());
    EXPECT_TRUE(player->isPlaying());
    EXPECT_EQ(backend->outputs().back()->format(), (media::AudioFormat { 8000, 1 }));

    clock->advance(500ms);
    EXPECT_DOUBLE_EQ(player->currentTime(), 0.5);
    EXPECT_EQ(played(), std::vector<int16_t>(samples.begin(), samples.begin() + 4000));
    EXPECT_TRUE(delegate->finished.empty());

    clock->advance(500ms);
    EXPECT_EQ(played(), samples);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(delegate->finished, std::vector<bool> { true });
    EXPECT_EQ(player->currentTime(), 0);
}

TEST_F(AudioPlayerTest, PlayAndStopNeverCallBack)
{
    auto player = makePlayer(test::makeWave({}));
    ASSERT_TRUE(player->play());
    player->stop();
    clock->advance(1s);
    EXPECT_TRUE(delegate->finished.empty());

    ASSERT_TRUE(player->play());
    EXPECT_TRUE(delegate->finished.empty()); // an empty sound ends, but on a later turn
    clock->advance(1ms);
    EXPECT_EQ(delegate->finished.size(), 1u);
}

TEST_F(AudioPlayerTest, PauseKeepsThePositionAndSeekingMovesIt)
{
    auto samples = ramp(8000);
    auto player = makePlayer(test::makeWave(samples));
    ASSERT_TRUE(player->play());
    clock->advance(300ms);
    player->pause();
    clock->advance(5s);
    EXPECT_DOUBLE_EQ(player->currentTime(), 0.3);
    ASSERT_TRUE(player->play());
    clock->advance(100ms);
    EXPECT_DOUBLE_EQ(player->currentTime(), 0.4);
    EXPECT_EQ(played(), std::vector<int16_t>(samples.begin(), samples.begin() + 3200));

    player->setCurrentTime(0.9);
    clock->advance(60ms);
    EXPECT_DOUBLE_EQ(player->currentTime(), 0.96);
    EXPECT_EQ(played().back(), samples[7679]);
    EXPECT_TRUE(delegate->finished.empty());
    clock->advance(40ms);
    EXPECT_EQ(delegate->finished.size(), 1u);
}

TEST_F(AudioPlayerTest, VolumeScalesTheSamplesWritten)
{
    auto player = makePlayer(test::makeWave({ 1000, -1000, 1000, -1000 }));
    player->setVolume(0.5f);
    ASSERT_TRUE(player->play());
    clock->advance(1s);
    EXPECT_EQ(played(), (std::vector<int16_t> { 500, -500, 500, -500 }));
    player->setVolume(7);
    EXPECT_EQ(player->volume(), 1.0f);
}

TEST_F(AudioPlayerTest, DataThatEndsEarlyPlaysWhatIsThereThenReportsADecodeError)
{
    auto samples = ramp(4000);
    auto player = makePlayer(test::makeWave(samples, 8000, 1, 16000));
    EXPECT_DOUBLE_EQ(player->duration(), 1.0);
    ASSERT_TRUE(player->play());
    clock->advance(1s);
    EXPECT_EQ(played(), samples);
    ASSERT_EQ(delegate->errors.size(), 1u);
    EXPECT_EQ(delegate->errors[0].domain(), media::MediaErrorDomain);
    EXPECT_TRUE(delegate->finished.empty());
    EXPECT_FALSE(player->isPlaying());
}

TEST_F(AudioPlayerTest, OwnerMayReleaseThePlayerFromItsCallback)
{
    auto player = makePlayer(test::makeWave(ramp(80)));
    std::weak_ptr<media::AudioPlayer> watched = player;
    delegate->onEnd = [&](media::AudioPlayer&) { player.reset(); };
    ASSERT_TRUE(player->play());
    clock->advance(1s);
    EXPECT_EQ(delegate->finished.size(), 1u);
    EXPECT_TRUE(watched.expired());
}

TEST_F(AudioPlayerTest, AReleasedPlayerNeitherPlaysOnNorCallsBack)
{
    auto player = makePlayer(test::makeWave(ramp(800)));
    ASSERT_TRUE(player->play());
    clock->advance(20ms);
    player.reset();
    clock->advance(1s);
    EXPECT_EQ(played().size(), 160u);
    EXPECT_TRUE(delegate->finished.empty());
}

TEST_F(AudioPlayerTest, PlaysStereoFilesAndRefusesWhatIsNotWave)
{
    test::TempDir dir;
    auto path = dir.path() / "ring.wav";
    auto bytes = test::makeWave(ramp(4410), 44100, 2);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    auto player = media::AudioPlayer::makeWithContentsOfFile(path);
    ASSERT_TRUE(player);
    EXPECT_DOUBLE_EQ(player->duration(), 0.05);
    EXPECT_EQ(player->format(), (media::AudioFormat { 44100, 2 }));

    base::Error error;
    EXPECT_FALSE(media::AudioPlayer::makeWithContentsOfFile(dir.path() / "missing.wav", &error));
    EXPECT_FALSE(error.isEmpty());
    std::vector<uint8_t> amr = { '#', '!', 'A', 'M', 'R', '\n' };
    EXPECT_FALSE(media::AudioPlayer::makeWithData(amr));
}
