#include "voice/RecordAudio.h"

#include "VoiceTestEnvironment.h"
#include "VoiceTestSignals.h"
#include "base/system/Log.h"
#include "media/playback/AudioSession.h"
#include "voice/PcmToAmr.h"

#include <chrono>
#include <utility>

using namespace std::chrono_literals;

namespace {

class Delegate : public voice::RecordAudioDelegate {
public:
    void RecordStatus(int status) override
    {
        statuses.push_back(status);
        if (onStatus)
            onStatus(status);
    }
    void failRecord() override { ++failures; }
    void recording(float seconds, float volume) override
    {
        times.push_back(seconds);
        levels.push_back(volume);
    }
    std::vector<int> statuses;
    int failures { 0 };
    std::vector<float> times;
    std::vector<float> levels;
    std::function<void(int)> onStatus;
};

class RecordAudioTest : public test::VoiceTest {
protected:
    void SetUp() override
    {
        VoiceTest::SetUp();
        backend->setScript(squareWave(16384, 5));
        recorder = std::make_shared<voice::RecordAudio>();
        recorder->setDelegate(delegate);
    }
    // One second of speech as the watch would send it.
    static base::Data amrMessage(double seconds = 1.0)
    {
        return voice::EncodePcmToAmr(test::littleEndianBytes(test::speechLike(seconds)), 1, 16);
    }

    std::shared_ptr<Delegate> delegate = std::make_shared<Delegate>();
    std::shared_ptr<voice::RecordAudio> recorder;
};

} // namespace

TEST_F(RecordAudioTest, PreparesTheSessionForPlayingAndRecordingOnTheLoudspeaker)
{
    auto session = media::AudioSession::shared();
    EXPECT_EQ(session->category(), media::AudioSession::Category::PlayAndRecord);
    EXPECT_TRUE(session->isActive());
    EXPECT_EQ(session->outputOverride(), media::AudioSession::PortOverride::Speaker);
}

TEST_F(RecordAudioTest, ARecordingOfExactlyOneSecondIsDiscarded)
{
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(1s);
    EXPECT_FALSE(recorder->stopRecord());
    EXPECT_EQ(delegate->failures, 1);
    EXPECT_TRUE(temporaryFiles().empty());
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(RecordAudioTest, ARecordingOfMoreThanOneSecondIsKept)
{
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(1100ms);
    auto file = recorder->stopRecord();
    ASSERT_TRUE(file);
    EXPECT_EQ(delegate->failures, 0);
    EXPECT_EQ(file->parent_path(), base::Paths::temporary());
    EXPECT_EQ(file->extension(), ".caf");
    EXPECT_EQ(std::filesystem::file_size(*file), 4096u + 8800 * 2);
    EXPECT_EQ(delegate->times.size(), 11u);
    EXPECT_FLOAT_EQ(delegate->times.back(), 1.1f);
}

TEST_F(RecordAudioTest, TheKeptFileIsNamedAfterMillisecondsSinceTheReferenceDate)
{
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(1500ms);
    auto file = recorder->stopRecord();
    ASSERT_TRUE(file);
    // The manual clock starts at 2014-06-01 00:00:00 UTC, 423,273,600 s after 2001-01-01.
    EXPECT_EQ(file->filename(), "423273600000.caf");
}

TEST_F(RecordAudioTest, TheLevelIsThePeakSmoothedTenTimesASecond)
{
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(300ms);
    // A peak of half full scale is -6.02 dB, an amplitude of 0.5, blended in with weight 0.05.
    ASSERT_EQ(delegate->levels.size(), 3u);
    EXPECT_NEAR(delegate->levels[0], 0.025, 1e-6);
    EXPECT_NEAR(delegate->levels[1], 0.04875, 1e-6);
    EXPECT_NEAR(delegate->levels[2], 0.0713125, 1e-6);
    EXPECT_NEAR(recorder->lowPassResults(), 0.0713125, 1e-6);
    recorder->cancelRecord();

    // The level is not reset: the next recording's first tick still carries 95 % of it.
    backend->setScript(squareWave(0, 5));
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(100ms);
    EXPECT_NEAR(delegate->levels.back(), 0.95 * 0.0713125, 1e-6);
    EXPECT_FLOAT_EQ(delegate->times.back(), 0.1f);
}

TEST_F(RecordAudioTest, StartingWhileRecordingIsIgnored)
{
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(200ms);
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(1s);
    EXPECT_EQ(delegate->times.size(), 12u); // one timer only
    auto file = recorder->stopRecord();
    ASSERT_TRUE(file);
    EXPECT_EQ(std::filesystem::file_size(*file), 4096u + 9600 * 2);
}

TEST_F(RecordAudioTest, CancelLeavesNoFileAndTellsNobody)
{
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(2s);
    recorder->cancelRecord();
    EXPECT_TRUE(temporaryFiles().empty());
    EXPECT_EQ(delegate->failures, 0);
    EXPECT_FALSE(recorder->isRecording());
    clock->advance(1s);
    EXPECT_EQ(delegate->times.size(), 20u);
}

TEST_F(RecordAudioTest, ADelegateMayStopTheRecordingFromAMeteringTick)
{
    struct StopsAtTwoSeconds : Delegate {
        void recording(float seconds, float volume) override
        {
            Delegate::recording(seconds, volume);
            if (seconds >= 2.0f - 1e-3f)
                kept = owner->stopRecord();
        }
        voice::RecordAudio* owner { nullptr };
        std::optional<std::filesystem::path> kept;
    };
    auto stopper = std::make_shared<StopsAtTwoSeconds>();
    stopper->owner = recorder.get();
    recorder->setDelegate(stopper);
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(3s);
    ASSERT_TRUE(stopper->kept);
    EXPECT_EQ(stopper->times.size(), 20u);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(std::filesystem::file_size(*stopper->kept), 4096u + 16000 * 2);
}

TEST_F(RecordAudioTest, StopAndCancelWithoutARecordingDoNothing)
{
    EXPECT_FALSE(recorder->stopRecord());
    recorder->cancelRecord();
    EXPECT_EQ(delegate->failures, 0);
}

TEST_F(RecordAudioTest, AKeptRecordingIsDeletedWhenTheNextOneStarts)
{
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(1500ms);
    auto first = recorder->stopRecord();
    ASSERT_TRUE(first);
    EXPECT_TRUE(std::filesystem::exists(*first));
    clock->advance(1s);
    ASSERT_TRUE(recorder->startRecord());
    EXPECT_FALSE(std::filesystem::exists(*first));
    recorder.reset();
    EXPECT_TRUE(temporaryFiles().empty());
}

TEST_F(RecordAudioTest, WithoutASoundDeviceEveryRecordingIsTooShort)
{
    media::AudioBackend::setCurrent(std::make_shared<media::ScriptedAudioBackend>());
    ASSERT_TRUE(recorder->startRecord());
    clock->advance(3s);
    EXPECT_FALSE(recorder->stopRecord());
    EXPECT_EQ(delegate->failures, 1);
}

TEST_F(RecordAudioTest, PlayingTwiceStartsThenStops)
{
    auto amr = amrMessage();
    recorder->play(amr);
    EXPECT_EQ(delegate->statuses, std::vector<int> { 0 });
    EXPECT_TRUE(recorder->isPlaying());
    clock->advance(200ms);
    recorder->play(amr);
    EXPECT_EQ(delegate->statuses, (std::vector<int> { 0, 1 }));
    EXPECT_FALSE(recorder->isPlaying());
    clock->advance(2s);
    EXPECT_EQ(delegate->statuses.size(), 2u);
}

TEST_F(RecordAudioTest, PlaybackWritesNothingToTheLogUnlessTheVoiceCategoryIsOn)
{
    auto amr = amrMessage();
    {
        base::Log::ScopedCapture log;
        recorder->play(amr);
        recorder->stopPlay();
        EXPECT_TRUE(log.messages().empty());
    }
    base::Log::ScopedCapture log;
    base::Log::ScopedCategories voice("voice");
    recorder->play(amr);
    EXPECT_TRUE(log.contains("start decode"));
    EXPECT_TRUE(log.contains("frame = "));
    EXPECT_TRUE(log.contains("end decode"));
}

TEST_F(RecordAudioTest, PlaybackEndsByItselfAndCanStartAfresh)
{
    auto amr = amrMessage();
    recorder->play(amr);
    clock->advance(1s);
    EXPECT_EQ(delegate->statuses, (std::vector<int> { 0, 1 }));
    EXPECT_FALSE(recorder->isPlaying());
    EXPECT_EQ(backend->outputs().back()->samples().size(), 8000u);

    recorder->play(amr);
    EXPECT_EQ(delegate->statuses, (std::vector<int> { 0, 1, 0 }));
    EXPECT_TRUE(recorder->isPlaying());
}

TEST_F(RecordAudioTest, DataThatDoesNotDecodeGivesStatusOneAndNoPlayer)
{
    recorder->play(test::bytesOf("this is not a voice message"));
    recorder->play(test::bytesOf("#!AMR\n")); // handed back undecoded: the player refuses it
    recorder->play({});
    EXPECT_EQ(delegate->statuses, (std::vector<int> { 1, 1, 1 }));
    EXPECT_FALSE(recorder->isPlaying());
    EXPECT_TRUE(backend->outputs().empty());
}

TEST_F(RecordAudioTest, ADecodingErrorGivesStatusTwoAndLeavesTheObjectIdle)
{
    recorder->play(amrMessage());
    base::Error error("MediaErrorDomain", 4);
    recorder->audioPlayerDecodeErrorDidOccur(
        *media::AudioPlayer::makeWithData(*recorder->decodeAmr(amrMessage())), error);
    EXPECT_EQ(delegate->statuses, (std::vector<int> { 0, 2 }));
    EXPECT_FALSE(recorder->isPlaying());
    EXPECT_EQ(recorder->error(), error);
}

TEST_F(RecordAudioTest, StopPlayReportsStatusOne)
{
    recorder->play(amrMessage());
    recorder->stopPlay();
    EXPECT_EQ(delegate->statuses, (std::vector<int> { 0, 1 }));
    EXPECT_FALSE(recorder->isPlaying());
}

TEST_F(RecordAudioTest, APlaybackStartedFromTheEndOfTheLastIsKept)
{
    auto amr = amrMessage(0.5);
    bool handled = false;
    delegate->onStatus = [&](int status) {
        if (status != 1 || std::exchange(handled, true))
            return;
        recorder->play(amr); // the ended player still exists: this stops it (status 1 again)
        recorder->play(amr); // and this starts the next message
    };
    recorder->play(amr);
    clock->advance(500ms);
    EXPECT_EQ(delegate->statuses, (std::vector<int> { 0, 1, 1, 0 }));
    EXPECT_TRUE(recorder->isPlaying());
    clock->advance(500ms);
    EXPECT_EQ(delegate->statuses, (std::vector<int> { 0, 1, 1, 0, 1 }));
}

TEST_F(RecordAudioTest, AudioTimeIsThePlayersDuration)
{
    EXPECT_DOUBLE_EQ(voice::RecordAudio::getAudioTime(*recorder->decodeAmr(amrMessage(0.6))), 0.6);
    EXPECT_EQ(voice::RecordAudio::getAudioTime(test::bytesOf("nothing")), 0);
    EXPECT_FALSE(recorder->decodeAmr({}));
}
