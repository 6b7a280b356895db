// The chat screen against the local service: the list and its time lines, the polling while it is on
// screen, texts under every kind of failure, and voice messages from the talk button to the upload.
#include "ChatFixture.h"

#include "base/time/DateFormatter.h"
#include "base/loop/NotificationCenter.h"
#include "chat/VoiceFileCache.h"
#include "core/state/NotificationNames.h"
#include "core/state/Singleton.h"
#include "media/backends/NullAudioOutput.h"
#include "tracking-service/Fault.h"
#include "ui/input/TouchDriver.h"

namespace {

using tracking_service::Fault;

class ChatScreen : public test::ChatTest {
protected:
    static std::shared_ptr<core::UserMessageQuery> storedText(const std::string& id, const char* localTime)
    {
        auto message = std::make_shared<core::UserMessageQuery>();
        message->id_ = id;
        message->context = id;
        message->from = account;
        message->to = watch;
        message->userName = account;
        message->msgType = 3;
        message->createTime = base::DateFormatter("yyyy/MM/dd HH:mm").dateFromString(localTime);
        EXPECT_TRUE(core::DBManager::saveOrUpdataUserChatQuery(*message));
        return message;
    }
    size_t pollRequests() { return requestsTo("PopManyQueryMessage"); }
};

// A machine without a microphone: no input starts.
class NoMicrophone final : public media::AudioBackend {
    class Input final : public media::AudioInput {
    public:
        bool start(const media::AudioFormat&, base::Error*) override { return false; }
        void stop() override { }
        void read(std::vector<int16_t>&) override { }
    };

public:
    std::shared_ptr<media::AudioInput> makeInput() override { return std::make_shared<Input>(); }
    std::shared_ptr<media::AudioOutput> makeOutput() override { return std::make_shared<media::NullAudioOutput>(); }
    std::string name() const override { return "none"; }
};

TEST_F(ChatScreen, ShowsTheWatchsVoiceMessagesOnTheLeft)
{
    openChat();
    ASSERT_EQ(chat->allMessagesFrame().size(), 2u);
    for (const auto& frame : chat->allMessagesFrame()) {
        EXPECT_EQ(chat::kindOf(*frame->message()), chat::MessageKind::WatchVoice);
        EXPECT_DOUBLE_EQ(frame->iconF().minX(), 10);
    }
    EXPECT_TRUE(chat->allMessagesFrame().front()->showTime());
    EXPECT_FALSE(chat->messageField()->isHidden());
    EXPECT_TRUE(chat->speakBtn()->isHidden());
}

TEST_F(ChatScreen, ATimeLineStandsAboveEachNewMinuteOnly)
{
    storedText("a", "2020/03/02 10:15");
    storedText("b", "2020/03/02 10:15");
    storedText("c", "2020/03/02 10:16");
    storedText("d", "2020/03/03 10:16");
    openChat();
    const auto& frames = chat->allMessagesFrame();
    ASSERT_GE(frames.size(), 4u);
    EXPECT_TRUE(frames[0]->showTime());
    EXPECT_FALSE(frames[1]->showTime());
    EXPECT_TRUE(frames[2]->showTime());
    EXPECT_FALSE(frames[3]->showTime());
}

TEST_F(ChatScreen, ATextIsStoredShownOnTheRightAndSent)
{
    openChat();
    send("hello 你好");
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("LumetSendTextMsg") == 1 && networkIdle(); }));
    clock->advance(0s);
    auto request = service.requestLog().requestsTo("LumetSendTextMsg").front();
    EXPECT_EQ(request.body, R"({"Serialnumber":"LW3600000001","text":"hello 你好"})");
    EXPECT_EQ(shownAlert(), nullptr);
    EXPECT_EQ(chat->messageField()->text(), "");
    ASSERT_EQ(storedChat().size(), 3u);
    auto sent = storedWhere([](const auto& message) { return message.context == "hello 你好"; });
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->msgType, 3);
    EXPECT_EQ(sent->from, account);
    EXPECT_EQ(sent->to, watch);

    pass(1);
    auto cell = cellOf(sent->id_.value_or(""));
    ASSERT_TRUE(cell);
    auto bubble = cell->contentBtn();
    EXPECT_DOUBLE_EQ(bubble->frame().maxX(), 320 - 10 - 40 - 10);
    auto colour = colourAt(bubble, { 12, 4 });
    EXPECT_TRUE(test::ScreenProbe::near(colour, gfx::Color::rgb(158 / 255.0, 226 / 255.0, 84 / 255.0), 6.0 / 255))
        << colour.r * 255 << " " << colour.g * 255 << " " << colour.b * 255;
}

TEST_F(ChatScreen, ALongTextWrapsInItsBubbleDownToTheLastLine)
{
    openChat();
    // 16-point text wraps at 180 points, 8 points a letter: three lines of 20 points.
    const std::string text = "Pick me up at the blue gate after school, and bring my red coat";
    send(text);
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("LumetSendTextMsg") == 1 && networkIdle(); }));
    auto sent = storedWhere([&](const auto& message) { return message.context == text; });
    ASSERT_TRUE(sent);
    pass(1);
    auto cell = cellOf(sent->id_.value_or(""));
    ASSERT_TRUE(cell);
    auto bubble = cell->contentBtn();
    ASSERT_DOUBLE_EQ(bubble->frame().height(), 3 * 20 + 10 + 15);

    // The third line lies above the bubble's 15-point bottom inset, between its 15 and 25-point side insets.
    gfx::Rect b = bubble->bounds();
    gfx::Rect thirdLine { 15, b.height() - 15 - 14, b.width() - 15 - 25, 14 };
    EXPECT_GT(test::ScreenProbe::pixelsNear(*bubble, thirdLine, gfx::Color::black(), 0.1), 20);
}

TEST_F(ChatScreen, EveryBadReplyToATextSaysFailureKeepsItAndGivesItBack)
{
    openChat();
    std::vector<Fault> faults { Fault::status(500), Fault::dropConnection(), Fault::nonJsonBody(), Fault::noPayload(),
        Fault::nullPayload(), Fault::payload(base::Value(7)), Fault::refusal() };
    for (size_t i = 0; i < faults.size(); ++i) {
        service.faults().set("LumetSendTextMsg", faults[i]);
        std::string text = "try " + std::to_string(i);
        send(text);
        ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; })) << i;
        EXPECT_FALSE(shownAlert()->title().has_value() && !shownAlert()->title()->empty()) << i;
        EXPECT_EQ(takeAlertMessage(), base::localized("failure")) << i;
        EXPECT_EQ(chat->messageField()->text(), text) << i;
        EXPECT_TRUE(storedWhere([&](const auto& message) { return message.context == text; })) << i;
        chat->messageField()->setText("");
    }
    EXPECT_EQ(storedChat().size(), 2 + faults.size());
}

TEST_F(ChatScreen, AskingGoesOnEvery10SecondsWhileShownAndEndsWhenItGoes)
{
    openChat();
    size_t shown = pollRequests();
    ASSERT_TRUE(pumpUntil([&] { return pollRequests() == shown + 1 && networkIdle(); }, 11));
    pass(9.5);
    EXPECT_EQ(pollRequests(), shown + 1);
    pass(1);
    EXPECT_EQ(pollRequests(), shown + 2);
    shown += 1;

    service.faults().set("PopManyQueryMessage", Fault::delay(300ms));
    pass(9.5);
    ASSERT_TRUE(pumpUntil([&] { return pollRequests() == shown + 2; }));
    home()->navigationController()->pushViewController(std::make_shared<ui::ViewController>(), false);
    clock->advance(0s);
    EXPECT_FALSE(chat->isPolling());
    pass(30);
    EXPECT_EQ(pollRequests(), shown + 2);
}

TEST_F(ChatScreen, AHeldTalkButtonStoresKeepsAndUploadsTheVoice)
{
    openChat();
    tap(chat->voiceBtn());
    ASSERT_FALSE(chat->speakBtn()->isHidden());
    gfx::Point button = test::ScreenProbe::toScreen(*chat->speakBtn(), chat->speakBtn()->bounds().center());
    ui::TouchDriver().down(button).wait(3s).up();
    ASSERT_TRUE(pumpUntil(
        [this] { return chat->operationQueue()->operationCount() == 0 && !service.store().uploads().empty(); }));

    auto stored = storedWhere([](const auto& message) { return message.msgType == 5; });
    ASSERT_TRUE(stored && stored->url);
    std::string name = chat::VoiceFileCache::lastPathPart(*stored->url);
    EXPECT_EQ(name.rfind("message", 0), 0u);
    auto kept = core::Singleton::shared().readMessageFile(name);
    ASSERT_TRUE(kept);
    EXPECT_TRUE(chat::VoiceFileCache::isPlayableVoice(*kept));

    auto upload = service.store().uploads().front();
    EXPECT_EQ(upload.to, watch);
    EXPECT_EQ(upload.from, account);
    EXPECT_EQ(upload.msgType, "5");
    EXPECT_EQ(upload.context, "(null)");
    EXPECT_EQ(upload.isToDevice, "true");
    EXPECT_EQ(service.store().file(upload.fileName), kept);
    EXPECT_EQ(shownAlert(), nullptr);
}

TEST_F(ChatScreen, ARecordingWithoutVoiceIsNeitherStoredNorSent)
{
    openChat();
    size_t before = storedChat().size();
    auto file = base::URL::fileURL(core::Singleton::shared().messagePath().string() + "X");
    chat->endRecord(std::nullopt, file);
    EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
    chat->endRecord(base::Data { '#', '!', 'A', 'M', 'R', '\n' }, file);
    EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
    pass(1);
    EXPECT_EQ(storedChat().size(), before);
    EXPECT_EQ(chat->allMessagesFrame().size(), before);
    EXPECT_TRUE(service.requestLog().requestsTo("PushMessage.ashx").empty());
    EXPECT_FALSE(core::Singleton::shared().fileExist("messageX"));
}

TEST_F(ChatScreen, HoldingTheTalkButtonWithoutAMicrophoneSaysSoAndRecordsNothing)
{
    openChat();
    media::AudioBackend::setCurrent(std::make_shared<NoMicrophone>());
    size_t before = storedChat().size();
    tap(chat->voiceBtn());
    gfx::Point button = test::ScreenProbe::toScreen(*chat->speakBtn(), chat->speakBtn()->bounds().center());
    ui::TouchDriver().down(button).wait(3s).up();
    pass(1);
    ASSERT_TRUE(shownAlert());
    EXPECT_EQ(shownAlert()->title(), base::localized("prompt"));
    EXPECT_EQ(takeAlertMessage(), base::localized("no_microphone"));
    EXPECT_EQ(storedChat().size(), before);
    EXPECT_TRUE(service.requestLog().requestsTo("PushMessage.ashx").empty());
}

TEST_F(ChatScreen, AFailedUploadSaysFailureAndKeepsTheMessage)
{
    openChat();
    service.faults().set("PushMessage.ashx", Fault::status(500));
    tap(chat->voiceBtn());
    gfx::Point button = test::ScreenProbe::toScreen(*chat->speakBtn(), chat->speakBtn()->bounds().center());
    ui::TouchDriver().down(button).wait(2s).up();
    ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
    EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
    auto stored = storedWhere([](const auto& message) { return message.msgType == 5; });
    ASSERT_TRUE(stored);
    EXPECT_TRUE(core::Singleton::shared().fileExist(chat::VoiceFileCache::lastPathPart(stored->url.value_or(""))));
}

TEST_F(ChatScreen, AnEmptyTextIsSentAndShownAsItIs)
{
    openChat();
    size_t shown = chat->allMessagesFrame().size();
    send("");
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("LumetSendTextMsg") == 1 && networkIdle(); }));
    EXPECT_EQ(service.requestLog().requestsTo("LumetSendTextMsg").front().body,
        R"({"Serialnumber":"LW3600000001","text":""})");
    ASSERT_EQ(chat->allMessagesFrame().size(), shown + 1);
    EXPECT_EQ(chat->allMessagesFrame().back()->message()->context, "");
    EXPECT_EQ(shownAlert(), nullptr);
}

TEST_F(ChatScreen, TheViewFollowsTheKeyboardAgainAfterAnotherScreenWasOnTop)
{
    openChat();
    auto navigation = home()->navigationController();
    navigation->pushViewController(std::make_shared<ui::ViewController>(), false);
    navigation->popViewController(false);
    clock->advance(1s);
    ASSERT_EQ(navigation->topViewController(), chat);
    chat->messageField()->becomeFirstResponder();
    clock->advance(1s);
    EXPECT_DOUBLE_EQ(chat->view()->transform().ty, -ui::Keyboard::onScreenHeight);
    chat->messageField()->resignFirstResponder();
    clock->advance(1s);
    EXPECT_DOUBLE_EQ(chat->view()->transform().ty, 0);
}

} // namespace
