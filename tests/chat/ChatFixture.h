// Shared set-up of the chat screen tests: the screen fixture, scripted audio input, and helpers that open the
// chat from the home screen, type into it and read the local chat tables.
#pragma once

#include "chat/ChatVC.h"
#include "chat/MessageCell.h"
#include "chat/RecordButton.h"
#include "core/messages/DBManager.h"
#include "media/backends/AudioBackend.h"
#include "media/backends/ScriptedAudioBackend.h"
#include "shell/screens/ScreenDirectory.h"
#include "support/ScreenFixture.h"
#include "ui/controls/Button.h"
#include "ui/input/Keyboard.h"
#include "ui/controllers/NavigationController.h"
#include "ui/scroll/TableView.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace test {

class ChatTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        backend = std::make_shared<media::ScriptedAudioBackend>(true);
        backend->setScript(speech(30));
        media::AudioBackend::setCurrent(backend);
    }
    void TearDown() override
    {
        chat = nullptr;
        ScreenTest::TearDown();
        media::AudioBackend::setCurrent(nullptr);
    }

    // A loud, changing signal, so that every 20 ms frame holds speech.
    static std::vector<int16_t> speech(double seconds)
    {
        std::vector<int16_t> samples(static_cast<size_t>(seconds * 8000));
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>(12000 * std::sin(i * 0.07) * std::sin(i * 0.0011));
        return samples;
    }

    // Signs in, waits for the watch's detail and the messages the home screen fetches, and opens the chat
    // with the home screen's voice button.
    void openChat()
    {
        launchAndSignIn();
        ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() && requestsTo("PopManyQueryMessage") > 0; }));
        pass(0.5);
        tap(home()->voiceButton());
        clock->advance(1s);
        chat = std::dynamic_pointer_cast<chat::ChatVC>(home()->navigationController()->topViewController());
        ASSERT_TRUE(chat);
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        clock->advance(0s);
    }

    // Types the text into the chat's field and presses return.
    void send(const std::string& text)
    {
        chat->messageField()->becomeFirstResponder();
        ui::Keyboard::shared().insertText(text);
        ui::Keyboard::shared().insertText("\n");
        clock->advance(0s);
    }

    std::vector<std::shared_ptr<core::UserMessageQuery>> storedChat() const
    {
        return core::DBManager::selectUserChatQueryByUserName(account, account, watch);
    }

    // The stored chat message that passes `test`, the latest such; nullptr when none does.
    std::shared_ptr<core::UserMessageQuery> storedWhere(
        const std::function<bool(const core::UserMessageQuery&)>& test) const
    {
        auto messages = storedChat();
        for (auto message = messages.rbegin(); message != messages.rend(); ++message) {
            if (test(**message))
                return *message;
        }
        return nullptr;
    }

    // The cell that shows the message of that id, scrolled into view.
    std::shared_ptr<chat::MessageCell> cellOf(const std::string& id)
    {
        const auto& frames = chat->allMessagesFrame();
        for (int row = 0; row < static_cast<int>(frames.size()); ++row) {
            if (frames[row]->message()->id_ != id)
                continue;
            auto table = chat->tableView();
            gfx::Rect place = table->rectForRowAtIndexPath({ 0, row });
            double bottom = std::max(0.0, table->contentSize().height - table->bounds().height());
            table->setContentOffset({ 0, std::clamp(place.minY(), 0.0, bottom) });
            table->layoutIfNeeded();
            return std::dynamic_pointer_cast<chat::MessageCell>(table->cellForRowAtIndexPath({ 0, row }));
        }
        return nullptr;
    }

    std::shared_ptr<media::ScriptedAudioBackend> backend;
    std::shared_ptr<chat::ChatVC> chat;
};

} // namespace test
