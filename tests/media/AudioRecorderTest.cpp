#include "media/playback/AudioRecorder.h"

#include "MediaTestEnvironment.h"
#include "support/TempDir.h"

#include <chrono>
#include <filesystem>

using namespace std::chrono_literals;

namespace {

media::AudioRecorderSettings voiceSettings()
{
    media::AudioRecorderSettings settings;
    settings.sampleRate = 8000;
    settings.numberOfChannels = 1;
    return settings;
}

class AudioRecorderTest : public test::MediaTest {
protected:
    std::shared_ptr<media::AudioRecorder> makeRecorder(media::AudioRecorderSettings settings = voiceSettings())
    {
        auto recorder = media::AudioRecorder::make(dir.path() / "voice.caf", settings);
        recorder->setMeteringEnabled(true);
        return recorder;
    }
    test::TempDir dir;
};

} // namespace

TEST_F(AudioRecorderTest, TimeIsTheFramesCapturedNotTheClock)
{
    backend->setScript(squareWave(1000, 1.5));
    auto recorder = makeRecorder();
    ASSERT_TRUE(recorder->record());
    clock->advance(1.1s);
    EXPECT_DOUBLE_EQ(recorder->currentTime(), 1.1);
    // The script ends at 1.5 s: nothing more is captured however long the clock runs.
    clock->advance(2s);
    EXPECT_DOUBLE_EQ(recorder->currentTime(), 1.5);
    recorder->stop();
    EXPECT_EQ(recorder->currentTime(), 0);
    EXPECT_EQ(std::filesystem::file_size(recorder->url()), 4096u + 2 * 12000);
}

TEST_F(AudioRecorderTest, AnInputThatCapturesNothingRecordsNothing)
{
    media::AudioBackend::setCurrent(std::make_shared<media::ScriptedAudioBackend>());
    auto recorder = makeRecorder();
    ASSERT_TRUE(recorder->record());
    clock->advance(3s);
    EXPECT_EQ(recorder->currentTime(), 0);
}

TEST_F(AudioRecorderTest, MetersThePeakOfChannelZeroSinceTheLastUpdate)
{
    std::vector<int16_t> script = squareWave(16384, 0.1);
    std::vector<int16_t> quiet = squareWave(0, 0.1);
    script.insert(script.end(), quiet.begin(), quiet.end());
    backend->setScript(script);
    auto recorder = makeRecorder();
    ASSERT_TRUE(recorder->record());
    clock->advance(100ms);
    recorder->updateMeters();
    EXPECT_NEAR(recorder->peakPowerForChannel(0), -6.0206, 1e-3);
    clock->advance(100ms);
    recorder->updateMeters();
    EXPECT_EQ(recorder->peakPowerForChannel(0), media::AudioRecorder::MinimumPower);
    EXPECT_EQ(recorder->peakPowerForChannel(1), media::AudioRecorder::MinimumPower);
}

TEST_F(AudioRecorderTest, FullScaleIsZeroDecibelsAndDisabledMeteringReportsSilence)
{
    backend->setScript(squareWave(32767, 1));
    auto recorder = makeRecorder();
    ASSERT_TRUE(recorder->record());
    clock->advance(100ms);
    recorder->updateMeters();
    EXPECT_NEAR(recorder->peakPowerForChannel(0), 0, 1e-3);
    recorder->setMeteringEnabled(false);
    clock->advance(100ms);
    recorder->updateMeters();
    EXPECT_EQ(recorder->peakPowerForChannel(0), media::AudioRecorder::MinimumPower);
}

TEST_F(AudioRecorderTest, StereoRecordingsCopyTheScriptToBothChannels)
{
    backend->setScript({ 100, -200, 300 });
    media::AudioRecorderSettings settings;
    settings.sampleRate = 11025;
    settings.numberOfChannels = 2;
    auto recorder = makeRecorder(settings);
    ASSERT_TRUE(recorder->record());
    clock->advance(1s);
    EXPECT_DOUBLE_EQ(recorder->currentTime(), 3.0 / 11025);
    recorder->stop();
    EXPECT_EQ(std::filesystem::file_size(recorder->url()), 4096u + 3 * 4);
}

TEST_F(AudioRecorderTest, DeleteRecordingStopsAndRemovesTheFile)
{
    backend->setScript(squareWave(1000, 2));
    auto recorder = makeRecorder();
    ASSERT_TRUE(recorder->record());
    clock->advance(500ms);
    EXPECT_TRUE(recorder->deleteRecording());
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(std::filesystem::exists(recorder->url()));
}

TEST_F(AudioRecorderTest, RefusesSettingsOtherThan16BitInterleavedLittleEndianIntegers)
{
    for (auto change : { +[](media::AudioRecorderSettings& s) { s.linearPCMBitDepth = 8; },
             +[](media::AudioRecorderSettings& s) { s.linearPCMIsFloat = true; },
             +[](media::AudioRecorderSettings& s) { s.linearPCMIsBigEndian = true; },
             +[](media::AudioRecorderSettings& s) { s.linearPCMIsNonInterleaved = true; },
             +[](media::AudioRecorderSettings& s) { s.numberOfChannels = 0; },
             +[](media::AudioRecorderSettings& s) { s.formatID = 0x61616320; } }) {
        auto settings = voiceSettings();
        change(settings);
        base::Error error;
        EXPECT_FALSE(media::AudioRecorder::make(dir.path() / "x.caf", settings, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}
