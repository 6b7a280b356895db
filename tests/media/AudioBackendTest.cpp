#include "media/backends/AudioBackend.h"

#include "MediaTestEnvironment.h"
#include "base/system/Log.h"
#include "media/backends/SDLAudioBackend.h"
#include "media/backends/SDLAudioOutput.h"
#include "media/backends/ScriptedAudioBackend.h"
#include "media/playback/AudioRecorder.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdlib>
#include <fstream>

using namespace std::chrono_literals;

namespace {

class AudioBackendTest : public test::MediaTest {
protected:
    test::TempDir dir;
};

} // namespace

TEST_F(AudioBackendTest, NullIsCurrentUntilABackendIsChosen)
{
    media::AudioBackend::setCurrent(nullptr);
    EXPECT_EQ(media::AudioBackend::current()->name(), "null");
    EXPECT_EQ(media::AudioBackend::make("null")->name(), "null");
}

TEST_F(AudioBackendTest, UnknownOrUnreadableBackendsFallBackToNullWithALoggedError)
{
    base::Log::ScopedCapture capture;
    EXPECT_EQ(media::AudioBackend::make("loudspeaker")->name(), "null");
    EXPECT_EQ(media::AudioBackend::make("script:" + (dir.path() / "missing.wav").string())->name(), "null");
    EXPECT_EQ(capture.messages().size(), 2u);
}

// Opening the devices waits for the first recorder or player, and a machine without sound says so then, once.
TEST_F(AudioBackendTest, TheStartUpChoiceIsMadeAtFirstUse)
{
    base::Log::ScopedCapture capture;
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    media::AudioBackend::chooseAtStartUp("sdl");
    EXPECT_TRUE(capture.messages().empty());
    EXPECT_EQ(media::AudioBackend::current()->name(), "null");
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(media::AudioBackend::current()->name(), "null");
    EXPECT_EQ(capture.messages().size(), 1u);

    // A backend set before the first use replaces the choice, which is then never made.
    media::AudioBackend::chooseAtStartUp("loudspeaker");
    media::AudioBackend::setCurrent(std::make_shared<media::ScriptedAudioBackend>(true));
    EXPECT_EQ(media::AudioBackend::current()->name(), "script");
    EXPECT_EQ(capture.messages().size(), 1u);
}

TEST_F(AudioBackendTest, AScriptFileIsMixedToMonoAndRecorded)
{
    auto path = dir.path() / "speech.wav";
    auto wave = test::makeWave({ 100, 300, -100, -300 }, 8000, 2);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(wave.data()), wave.size());
    setenv("LUMET_AUDIO", ("script:" + path.string()).c_str(), 1);
    media::AudioBackend::chooseAtStartUp();
    unsetenv("LUMET_AUDIO");
    EXPECT_EQ(media::AudioBackend::current()->name(), "script");

    media::AudioRecorderSettings settings;
    settings.sampleRate = 8000;
    settings.numberOfChannels = 1;
    auto recorder = media::AudioRecorder::make(dir.path() / "r.caf", settings);
    ASSERT_TRUE(recorder->record());
    clock->advance(1s);
    EXPECT_DOUBLE_EQ(recorder->currentTime(), 2.0 / 8000);
    recorder->stop();
    std::ifstream file(recorder->url(), std::ios::binary);
    file.seekg(4096);
    int16_t samples[2] = {};
    file.read(reinterpret_cast<char*>(samples), sizeof samples);
    EXPECT_EQ(samples[0], 200);
    EXPECT_EQ(samples[1], -200);
}

// SDL's dummy driver stands in for a sound card: the backend must open, take samples and close.
TEST_F(AudioBackendTest, SDLBackendRunsOnTheDummyDriver)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto backend = media::AudioBackend::make("sdl");
    ASSERT_EQ(backend->name(), "sdl");

    auto output = backend->makeOutput();
    ASSERT_TRUE(output->open({ 8000, 1 }));
    std::vector<int16_t> tone(8000, 1000);
    output->write(tone);
    EXPECT_GT(static_cast<media::SDLAudioOutput&>(*output).queuedBytes(), 0u);
    output->flush();
    EXPECT_EQ(static_cast<media::SDLAudioOutput&>(*output).queuedBytes(), 0u);
    EXPECT_GT(output->lead(), base::Duration::zero());

    auto input = backend->makeInput();
    if (input->start({ 8000, 1 })) {
        std::vector<int16_t> captured;
        input->read(captured);
        input->stop();
    }
    unsetenv("SDL_AUDIODRIVER");
}
