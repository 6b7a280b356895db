// The chat screen's two writes, a text and a voice message, each made on the screen under every way the
// service can fail, answers held past the time-out included: each sends one request, the message stays
// stored and shown, a text that failed is given back, and "failure" shows for every failed text and for
// every voice upload whose transfer failed (the upload's reply itself is only logged).
#include "ChatFixture.h"

#include "chat/VoiceFileCache.h"
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
            { "a number", Fault::payload(base::Value(7)) },
            { "answer after the time-out", Fault::delay(std::chrono::milliseconds(1500)) } };
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
        for (int slice = 0; slice < 2000 && !uploaded(); ++slice)
            (void)base::RunLoop::main().runUntil(uploaded, base::Duration(0.005));
        pass(0.5);
    }

    ui::TouchDriver finger;
};

TEST_F(ChatWriteFaults, EveryFailedWriteKeepsItsMessageAndOnlyAFailedTransferOrTextSaysSo)
{
    net::URLRequest::setDefaultTimeoutInterval(std::chrono::seconds(1));
    openChat();
    int attempt = 0;
    for (const auto& [kind, fault] : everyFaultKind()) {
        SCOPED_TRACE(std::string("text / ") + kind);
        std::string text = "try " + std::to_string(++attempt);
        service.faults().set("LumetSendTextMsg", fault);
        send(text);
        ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
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
        service.faults().set("PushMessage.ashx", fault);
        size_t shown = chat->allMessagesFrame().size();
        recordVoice();
        service.faults().clear();
        EXPECT_EQ(requestsTo("PushMessage.ashx"), size_t(++attempt));
        EXPECT_EQ(takeAlertMessage(), transferFails(fault) ? base::localized("failure") : "");
        EXPECT_EQ(chat->allMessagesFrame().size(), shown + 1);
        auto voice = storedWhere([](const auto& message) { return message.msgType == 5; });
        ASSERT_TRUE(voice);
        EXPECT_TRUE(core::Singleton::shared().fileExist(chat::VoiceFileCache::lastPathPart(voice->url.value_or(""))));
    }
}

} // namespace
