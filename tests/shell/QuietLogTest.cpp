// What the application writes to its log at the default level over a whole signed-in session: the tour signs in
// and walks every screen (the chat with the watch's messages, the number screens, the phone book, the settings),
// a text from the watch reaches the message centre and the owner sends one in the chat, and nothing personal may
// reach the log on the way.
#include "ShellFixture.h"

#include "base/system/Log.h"
#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "chat/ChatVC.h"
#include "core/service/ServiceProtocol.h"
#include "database/Database.h"
#include "database/ResultSet.h"
#include "shell/tour/TourContext.h"
#include "tracking-service/ServiceStore.h"
#include "ui/input/Keyboard.h"

#include <algorithm>
#include <cctype>

namespace {

using tracking_service::ServiceStore;

class QuietLog : public test::ShellTest {
protected:
    static constexpr const char* watchText = "Pick me up at the blue gate after school";
    static constexpr const char* ownText = "Grandma waits by the library at four";

    // A text message from the watch, waiting for the next poll, so that the session stores and shows it.
    void queueWatchText()
    {
        using core::ServiceProtocol;
        ASSERT_TRUE(service.store().queueMessage(account,
            base::Value(base::Dictionary::make({
                { ServiceProtocol::MessageIdKey, "quiet-log-text" },
                { ServiceProtocol::MessageContextKey, watchText },
                { ServiceProtocol::MessageDescKey, "" },
                { ServiceProtocol::MessageFromKey, watch },
                { ServiceProtocol::MessageToKey, account },
                { ServiceProtocol::MessageMsgTypeKey, 3 },
                { ServiceProtocol::MessageUrlKey, "" },
            }))));
    }

    // Every text of seven digits or more in the value: the phone numbers of a device's documents.
    static void collectPhoneNumbers(const base::Value& value, std::vector<std::string>& numbers)
    {
        if (value.isString()) {
            std::string text = value.stringValue();
            if (text.size() >= 7
                && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
                numbers.push_back(text);
        } else if (value.isArray()) {
            for (size_t i = 0; i < value.array()->count(); ++i)
                collectPhoneNumbers(value.array()->objectAtIndex(i), numbers);
        } else if (value.isDictionary()) {
            for (const auto& member : value.dictionary()->allValues())
                collectPhoneNumbers(member, numbers);
        }
    }

    // How many messages with this text the local message store holds in the message centre.
    static int storedInMessageCentre(const std::string& text)
    {
        auto db = database::Database::databaseWithPath(core::DBManager::databasePath().string());
        if (!db->open())
            return -1;
        auto rows = db->executeQuery("select count(*) from UserMessageQuery where context = ?", text);
        return rows && rows->next() ? rows->intForColumnIndex(0) : -1;
    }

    // Opens the chat from the home screen and sends the text.
    void sendInChat(const std::string& text)
    {
        shell::TourContext::popToCentreRoot();
        // The home screen takes the tap once the device's detail has come.
        ASSERT_TRUE(homeDetailCame());
        tap(home()->voiceButton());
        auto chatOnTop = [this] {
            return std::dynamic_pointer_cast<chat::ChatVC>(home()->navigationController()->topViewController());
        };
        ASSERT_TRUE(pumpUntil([&] { return chatOnTop() != nullptr; }));
        auto chat = chatOnTop();
        ASSERT_TRUE(pumpUntil([] { return networkIdle(); }));
        chat->messageField()->becomeFirstResponder();
        ui::Keyboard::shared().insertText(text);
        ui::Keyboard::shared().insertText("\n");
        ASSERT_TRUE(pumpUntil([this] { return requestsTo("LumetSendTextMsg") == 1 && networkIdle(); }));
    }

    // The session cookies the application sent, without their names.
    std::vector<std::string> sentCookies()
    {
        std::vector<std::string> cookies;
        for (const auto& request : service.requestLog().requests()) {
            std::string cookie = request.header("Cookie");
            if (auto equals = cookie.find('='); equals != std::string::npos && equals + 1 < cookie.size())
                cookies.push_back(cookie.substr(equals + 1));
        }
        return cookies;
    }
};

TEST_F(QuietLog, AWholeSignedInSessionLogsNothingPersonalAtTheDefaultLevel)
{
    base::Log::disableAll();
    queueWatchText();
    std::vector<std::string> numbers;
    for (const char* kind : { ServiceStore::DetailDocument, ServiceStore::PhoneBookDocument }) {
        if (auto document = service.store().document(watch, kind))
            collectPhoneNumbers(*document, numbers);
    }
    ASSERT_GE(numbers.size(), 3u) << "the watch's family numbers and phone book";

    base::Log::ScopedCapture log;
    test::TempDir folder;
    auto taken = takeTour(folder.path());
    ASSERT_TRUE(taken);
    for (const char* screen : { "chat", "phone-book" })
        ASSERT_NE(std::find(taken->begin(), taken->end(), screen), taken->end()) << screen;
    EXPECT_EQ(storedInMessageCentre(watchText), 1) << "the watch's text was stored in the session";
    sendInChat(ownText);

    std::vector<std::string> cookies = sentCookies();
    ASSERT_FALSE(cookies.empty());
    std::vector<std::string> personal { password, watchText, ownText, "SOS alarm" };
    personal.insert(personal.end(), cookies.begin(), cookies.end());
    personal.insert(personal.end(), numbers.begin(), numbers.end());
    for (const std::string& line : log.messages()) {
        for (const std::string& secret : personal)
            EXPECT_EQ(line.find(secret), std::string::npos) << "\"" << secret << "\" in the log line: " << line;
    }
}

} // namespace
