// The chat screen's two writes, a text and a voice message, and the sound command of a tracker, each made on
// its screen under every way the service can fail, answers held past the time-out included: each sends one
// request, the message stays stored and shown, a text or command that failed is given back, and "failure"
// shows for every failed text and command and for every voice upload whose transfer failed (the upload's
// reply itself is only logged).
#include "ChatFixture.h"

#include "chat/SendSoundCommandVC.h"
#include "chat/VoiceFileCache.h"
#include "kit/modal/ModalPresenter.h"
#include "shell/screens/ScreenDirectory.h"
#include "ui/input/TouchDriver.h"

namespace {

using tracking_service::Fault;

class ChatWriteFaults : public test::ChatTest {
protected:
    static std::vector<std::pair<const char*, Fault>> everyFaultKind()
    {
        return { { "status 500", Fault::status(500) }, { "dropped connection", Fault::dropConnection() },
            { "not JSON", Fault::nonJsonBody() }, { "no payload", Fault::noPayload() },
            { "null payload", Fault::nullPayload() }, { "refusal", Fault::refusal() },
            { "a number", Fault::payload(base::Value(7)) }, { "answer after the time-out", Fault::held() } };
    }
    static bool transferFails(const Fault& fault)
    {
        return fault.kind == Fault::Kind::Status || fault.kind == Fault::Kind::DropConnection
            || fault.kind == Fault::Kind::Delay;
    }

    void recordVoice()
    {
        gfx::Point button = test::ScreenProbe::toScreen(*chat->speakBtn(), chat->speakBtn()->bounds().center());
        finger.down(button).wait(std::chrono::seconds(2)).up().wait(std::chrono::seconds(1));
        // The upload runs on the screen's own queue, which posts nothing to the main loop until it ends.
        auto uploaded = [this] { return chat->operationQueue()->operationCount() == 0; };
        for (int slice = 0; slice < 12000 && !uploaded(); ++slice)
            (void)base::RunLoop::main().runUntil(uploaded, base::Duration(0.005));
        pass(0.5);
    }

    ui::TouchDriver finger;
};

TEST_F(ChatWriteFaults, EveryFailedWriteKeepsItsMessageAndOnlyAFailedTransferOrTextSaysSo)
{
    openChat();
    int attempt = 0;
    for (const auto& [kind, fault] : everyFaultKind()) {
        SCOPED_TRACE(std::string("text / ") + kind);
        std::string text = "try " + std::to_string(++attempt);
        underFault("LumetSendTextMsg", fault, [&] {
            send(text);
            ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
        });
        EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
        EXPECT_EQ(chat->messageField()->text(), text);
        EXPECT_TRUE(storedWhere([&](const auto& message) { return message.context == text; }));
        chat->messageField()->setText("");
        EXPECT_EQ(requestsTo("LumetSendTextMsg"), size_t(attempt));
    }
    chat->messageField()->resignFirstResponder();
    tap(chat->voiceBtn());
    attempt = 0;
    for (const auto& [kind, fault] : everyFaultKind()) {
        SCOPED_TRACE(std::string("voice / ") + kind);
        size_t shown = chat->allMessagesFrame().size();
        underFault("PushMessage.ashx", fault, [&] { recordVoice(); });
        EXPECT_EQ(requestsTo("PushMessage.ashx"), size_t(++attempt));
        EXPECT_EQ(takeAlertMessage(), transferFails(fault) ? base::localized("failure") : "");
        EXPECT_EQ(chat->allMessagesFrame().size(), shown + 1);
        auto voice = storedWhere([](const auto& message) { return message.msgType == 5; });
        ASSERT_TRUE(voice);
        EXPECT_TRUE(core::Singleton::shared().fileExist(chat::VoiceFileCache::lastPathPart(voice->url.value_or(""))));
    }
}

TEST_F(ChatWriteFaults, EveryFailedSoundCommandSaysFailureAndComesBackInTheNextPanel)
{
    launchAndSignIn();
    auto tracker = std::make_shared<core::Device>();
    tracker->serialNumber = tracking_service::DemoData::ParvoSerialNumber;
    tracker->deviceTypeID = 2;
    auto open = [&] {
        auto panel = std::dynamic_pointer_cast<chat::SendSoundCommandVC>(
            shell::ScreenDirectory::shared().showPanel(shell::ScreenDirectory::SoundCommand, tracker));
        clock->advance(std::chrono::seconds(1));
        return panel;
    };
    int attempt = 0;
    for (const auto& [kind, fault] : everyFaultKind()) {
        SCOPED_TRACE(kind);
        std::string command = "beep " + std::to_string(++attempt);
        underFault("ParvoSendSoundCommand", fault, [&] {
            auto panel = open();
            ASSERT_TRUE(panel);
            panel->commandField()->setText(command);
            tap(panel->doneBtn());
            ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
        });
        EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
        EXPECT_EQ(requestsTo("ParvoSendSoundCommand"), size_t(attempt));
        pass(1);
        EXPECT_EQ(open()->commandField()->text(), command);
        kit::ModalPresenter::sharedInstance()->hideAnimated(false);
    }
}

} // namespace
