// The hold-to-talk button driven by touch sequences on scripted input: what reaches its delegate, and what
// the recording overlay shows meanwhile.
#include "chat/RecordButton.h"

#include "base/ClockFixture.h"
#include "base/text/Localization.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "chat/RecordHUD.h"
#include "core/state/Singleton.h"
#include "media/backends/AudioBackend.h"
#include "media/backends/ScriptedAudioBackend.h"
#include "ui/controls/Label.h"
#include "ui/view/Screen.h"
#include "ui/input/TouchDriver.h"
#include "ui/view/Window.h"
#include "voice/RecordAudio.h"

#include <chrono>
#include <cmath>
#include <filesystem>

using namespace std::chrono_literals;

namespace {

class Receiver : public chat::RecordButtonDelegate {
public:
    void endRecord(const std::optional<base::Data>& amr, const base::URL& file) override
    {
        recordings.push_back(amr);
        files.push_back(file);
    }
    void dragExit() override { ++exits; }
    void dragEnter() override { ++enters; }

    std::vector<std::optional<base::Data>> recordings;
    std::vector<base::URL> files;
    int exits { 0 };
    int enters { 0 };
};

class RecordButtonTest : public test::ManualClockTest {
protected:
    static constexpr gfx::Point onButton { 160, 500 };
    static constexpr gfx::Point offButton { 160, 300 };

    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        std::filesystem::remove_all(base::Paths::temporary());
        backend = std::make_shared<media::ScriptedAudioBackend>();
        backend->setScript(speech(30));
        media::AudioBackend::setCurrent(backend);
        window = std::make_shared<ui::Window>();
        button = std::make_shared<chat::RecordButton>(gfx::Rect { 40, 480, 240, 40 });
        button->initRecord(receiver, 20, base::localized("cancel_record_slide"));
        window->addSubview(button);
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        clock->advance(1s);
        button = nullptr;
        window = nullptr;
        media::AudioBackend::setCurrent(nullptr);
        ManualClockTest::TearDown();
    }

    // A loud, changing signal, so that every 20 ms frame holds speech.
    static std::vector<int16_t> speech(double seconds)
    {
        std::vector<int16_t> samples(static_cast<size_t>(seconds * 8000));
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>(12000 * std::sin(i * 0.07) * std::sin(i * 0.0011));
        return samples;
    }
    static std::string hint() { return chat::RecordHUD::shareView()->titleLabel()->text(); }
    static bool overlayShown() { return chat::RecordHUD::shareView()->hasOverlayWindow(); }
    static double secondsOf(const base::Data& amr) { return (amr.size() - 6) / 32 * 0.02; }

    base::Log::ScopedCapture quiet;
    std::shared_ptr<media::ScriptedAudioBackend> backend;
    std::shared_ptr<Receiver> receiver = std::make_shared<Receiver>();
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<chat::RecordButton> button;
    ui::TouchDriver finger;
};

TEST_F(RecordButtonTest, HoldingPastTheLimitDeliversOneRecordingOfTheLimitAndTheReleaseNothingMore)
{
    finger.down(onButton);
    EXPECT_TRUE(overlayShown());
    EXPECT_EQ(hint(), base::localized("cancel_record_slide"));
    finger.wait(25s);
    ASSERT_EQ(receiver->recordings.size(), 1u);
    ASSERT_TRUE(receiver->recordings[0]);
    EXPECT_NEAR(secondsOf(*receiver->recordings[0]), 20, 0.3);
    EXPECT_FALSE(button->recorder()->isRecording());
    finger.up();
    clock->advance(1s);
    EXPECT_EQ(receiver->recordings.size(), 1u);
    EXPECT_FALSE(overlayShown());
}

TEST_F(RecordButtonTest, ARecordingOfHalfASecondReachesNobodyAndTheOverlayGoes)
{
    finger.down(onButton).wait(500ms).up();
    EXPECT_EQ(hint(), base::localized("recor_success"));
    clock->advance(400ms);
    EXPECT_TRUE(receiver->recordings.empty());
    EXPECT_FALSE(overlayShown());
    EXPECT_TRUE(std::filesystem::is_empty(base::Paths::temporary()));
}

TEST_F(RecordButtonTest, DraggingOffWarnsDraggingBackRestoresAndLettingGoOutsideDiscards)
{
    finger.down(onButton).wait(1500ms);
    finger.moveTo(offButton, 100ms, 4);
    EXPECT_EQ(hint(), base::localized("let_go_cancel_record"));
    EXPECT_EQ(receiver->exits, 1);
    finger.moveTo(onButton, 100ms, 4);
    EXPECT_EQ(hint(), base::localized("cancel_record_slide"));
    EXPECT_EQ(receiver->enters, 1);
    finger.moveTo(offButton, 100ms, 4).wait(500ms).up();
    EXPECT_EQ(hint(), base::localized("cancel_record"));
    clock->advance(400ms);
    EXPECT_TRUE(receiver->recordings.empty());
    EXPECT_FALSE(overlayShown());
    EXPECT_TRUE(std::filesystem::is_empty(base::Paths::temporary()));
}

TEST_F(RecordButtonTest, TheOverlayCountsSecondsAndShowsTheLevel)
{
    finger.down(onButton).wait(3s);
    auto hud = chat::RecordHUD::shareView();
    EXPECT_EQ(hud->timeLabel()->text(), base::localized("record") + ": 3\"");
    EXPECT_NE(hud->imgView()->image(), nullptr);
    EXPECT_NE(hud->imgView()->image(), gfx::Image::named("mic_0"));
    finger.up();
    EXPECT_EQ(chat::RecordButton::levelImageName(0), "mic_0");
    EXPECT_EQ(chat::RecordButton::levelImageName(0.33f), "mic_3");
    EXPECT_EQ(chat::RecordButton::levelImageName(0.5f), "mic_5");
    EXPECT_EQ(chat::RecordButton::levelImageName(0.97f), "mic_5");
}

TEST_F(RecordButtonTest, EachRecordingIsNamedInTheMessageFolderByItsOwnUUID)
{
    finger.down(onButton).wait(1500ms).up().wait(1s);
    finger.down(onButton).wait(1500ms).up();
    ASSERT_EQ(receiver->files.size(), 2u);
    std::string folder = base::URL::fileURL(core::Singleton::shared().messagePath()).absoluteString();
    for (const auto& file : receiver->files) {
        std::string text = file.absoluteString();
        ASSERT_EQ(text.rfind(folder, 0), 0u) << text;
        std::string last = text.substr(text.rfind('/') + 1);
        EXPECT_EQ(last.rfind("message", 0), 0u);
        EXPECT_EQ(last.size(), std::string("message").size() + 36);
    }
    EXPECT_NE(receiver->files[0].absoluteString(), receiver->files[1].absoluteString());
}

} // namespace
