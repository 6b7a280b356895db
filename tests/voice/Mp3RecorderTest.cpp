#include "voice/Mp3Recorder.h"

#include "VoiceTestEnvironment.h"
#include "VoiceTestSignals.h"
#include "voice/CafToMp3.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mpg123.h>

using namespace std::chrono_literals;

namespace {

struct DecodedMp3 {
    long rate { 0 };
    int channels { 0 };
    size_t frames { 0 };
    int peak { 0 };
};

// Decodes MP3 bytes with mpg123; frames = 16-bit sample frames produced.
std::optional<DecodedMp3> decodeMp3(const base::Data& mp3)
{
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle)
        return std::nullopt;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    DecodedMp3 decoded;
    bool ok = mpg123_open_feed(handle) == MPG123_OK && mpg123_feed(handle, mp3.data(), mp3.size()) == MPG123_OK;
    size_t samples = 0;
    while (ok) {
        std::vector<unsigned char> buffer(16384);
        size_t done = 0;
        int result = mpg123_read(handle, buffer.data(), buffer.size(), &done);
        for (size_t i = 0; i + 1 < done; i += 2) {
            auto sample = static_cast<int16_t>(buffer[i] | (buffer[i + 1] << 8));
            decoded.peak = std::max(decoded.peak, std::abs(static_cast<int>(sample)));
        }
        samples += done / 2;
        if (result == MPG123_NEW_FORMAT) {
            int encoding = 0;
            mpg123_getformat(handle, &decoded.rate, &decoded.channels, &encoding);
            ok = encoding == MPG123_ENC_SIGNED_16;
        } else if (result != MPG123_OK) {
            ok = result == MPG123_NEED_MORE || result == MPG123_DONE;
            break;
        }
    }
    mpg123_delete(handle);
    if (!ok || decoded.channels == 0)
        return std::nullopt;
    decoded.frames = samples / static_cast<size_t>(decoded.channels);
    return decoded;
}

base::Data readFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return base::Data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

class Delegate : public voice::Mp3RecorderDelegate {
public:
    void failRecord() override { events.push_back("fail"); }
    void recording(float, float) override { ++ticks; }
    void beginConvert() override { events.push_back("begin"); }
    void endConvertWithData(const base::Data& data) override
    {
        events.push_back("end");
        mp3 = data;
    }
    std::vector<std::string> events;
    int ticks { 0 };
    base::Data mp3;
};

class Mp3RecorderTest : public test::VoiceTest {
protected:
    void SetUp() override
    {
        VoiceTest::SetUp();
        backend->setScript(test::speechLike(3, 11025));
        recorder = std::make_shared<voice::Mp3Recorder>(delegate);
    }
    std::shared_ptr<Delegate> delegate = std::make_shared<Delegate>();
    std::shared_ptr<voice::Mp3Recorder> recorder;
};

} // namespace

TEST_F(Mp3RecorderTest, ARecordingOfOneSecondOrLessIsDiscarded)
{
    recorder->startRecord();
    clock->advance(1s);
    recorder->stopRecord();
    EXPECT_EQ(delegate->events, std::vector<std::string> { "fail" });
    EXPECT_TRUE(temporaryFiles().empty());
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(Mp3RecorderTest, ALongerRecordingBecomesAnMp3ThatDecodes)
{
    recorder->startRecord();
    clock->advance(2s);
    recorder->stopRecord();
    ASSERT_EQ(delegate->events, (std::vector<std::string> { "begin", "end" }));
    EXPECT_EQ(delegate->ticks, 20);
    EXPECT_FALSE(std::filesystem::exists(voice::Mp3Recorder::cafPath()));
    EXPECT_EQ(readFile(voice::Mp3Recorder::mp3Path()), delegate->mp3);
    EXPECT_EQ(recorder->path(), voice::Mp3Recorder::mp3Path().string());
    EXPECT_EQ(media::AudioSession::shared()->category(), media::AudioSession::Category::SoloAmbient);

    auto decoded = decodeMp3(delegate->mp3);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->rate, 11025);
    EXPECT_EQ(decoded->channels, 2);
    // The encoder pads the start and the end by less than a few frames of 576 samples.
    EXPECT_GE(decoded->frames, 22050u);
    EXPECT_LT(decoded->frames, 22050u + 4 * 1152);
    EXPECT_GT(decoded->peak, 3000);
}

TEST_F(Mp3RecorderTest, TheFirst4096BytesNeverReachTheEncoder)
{
    auto caf = base::Paths::temporary() / "loud-head.caf";
    base::Data file(4096, 0x7F); // loud, whatever it holds
    file.resize(4096 + 11025 * 4, 0); // then one second of stereo silence
    std::ofstream(caf, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    auto mp3 = base::Paths::temporary() / "out.mp3";
    ASSERT_TRUE(voice::EncodeCafToMp3(caf, mp3));
    auto decoded = decodeMp3(readFile(mp3));
    ASSERT_TRUE(decoded);
    EXPECT_LT(decoded->peak, 50);
}

TEST_F(Mp3RecorderTest, AFailedConversionIsReportedAsAFailure)
{
    // A folder in the MP3 file's place (with something inside, so it cannot be removed) cannot be written.
    std::filesystem::create_directories(voice::Mp3Recorder::mp3Path() / "occupied");
    recorder->startRecord();
    clock->advance(1500ms);
    recorder->stopRecord();
    EXPECT_EQ(delegate->events, (std::vector<std::string> { "begin", "fail" }));
    EXPECT_FALSE(std::filesystem::exists(voice::Mp3Recorder::cafPath()));

    base::Error error;
    EXPECT_FALSE(
        voice::EncodeCafToMp3(base::Paths::temporary() / "missing.caf", base::Paths::temporary() / "x.mp3", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(Mp3RecorderTest, StartingWhileRecordingIsIgnoredAndCancelLeavesNoFile)
{
    recorder->startRecord();
    clock->advance(300ms);
    recorder->startRecord();
    clock->advance(1s);
    EXPECT_EQ(delegate->ticks, 13);
    EXPECT_DOUBLE_EQ(recorder->recorder()->currentTime(), 14332 / 11025.0); // 1.3 s of whole frames
    recorder->cancelRecord();
    EXPECT_TRUE(temporaryFiles().empty());
    EXPECT_TRUE(delegate->events.empty());
}
