// The message-storing rule: which tables a fetched message goes to, and how the two forms announce it once
// the store has committed; what becomes of messages the store cannot take.
#include "core/messages/IncomingMessages.h"
#include "base/ClockFixture.h"
#include "base/system/Files.h"
#include "base/text/Localization.h"
#include "base/system/Log.h"
#include "base/loop/NotificationCenter.h"
#include "base/time/Timer.h"
#include "base/system/UserDefaults.h"
#include "core/messages/DBManager.h"
#include "core/records/Device.h"
#include "core/messages/MessageSpool.h"
#include "core/state/NotificationNames.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "database/Database.h"
#include "database/DatabaseAdditions.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

using core::IncomingMessages;

// The alert on screen, if any.
std::shared_ptr<ui::AlertView> shownAlert()
{
    for (const auto& window : ui::Application::shared().windows()) {
        auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
        if (alertWindow && alertWindow->isShown())
            return std::dynamic_pointer_cast<ui::AlertView>(alertWindow->panel());
    }
    return nullptr;
}

class IncomingMessagesTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        test::ManualClockTest::SetUp();
        std::filesystem::remove_all(core::DBManager::databasePath());
        core::MessageSpool::clear();
        ASSERT_TRUE(core::DBManager::createTables());
        base::UserDefaults::standard().setObject(base::Value("ann"), core::SettingsKeys::LoginName2);
        base::NotificationCenter::defaultCenter().addObserver(
            core::NotificationNames::ReceiveRemoteNotification, nullptr,
            [this](
                const base::Notification& posted) { announced.push_back(posted.objectAs<core::UserMessageQuery>()); },
            this);
    }
    void TearDown() override
    {
        EXPECT_TRUE(settled());
        if (auto alert = shownAlert())
            alert->dismissWithClickedButtonIndex(0, false);
        base::NotificationCenter::defaultCenter().removeObservers(this);
        base::UserDefaults::standard().removeObjectForKey(core::SettingsKeys::LoginName2);
        core::Singleton::shared().setDeviceDetail(nullptr);
        test::ManualClockTest::TearDown();
    }

    // Runs the main loop until every store started has reported back.
    static bool settled()
    {
        return base::RunLoop::main().runUntil([] { return core::IncomingMessages::storesInFlight() == 0; }, 30s);
    }

    static void currentDeviceType(int64_t type)
    {
        auto device = std::make_shared<core::Device>();
        device->deviceTypeID = type;
        core::Singleton::shared().setDeviceDetail(device);
    }

    static int rows(const char* table)
    {
        auto db = database::Database::databaseWithPath(core::DBManager::databasePath().string());
        EXPECT_TRUE(db->open());
        int count = database::intForQuery(*db, std::string("select count(*) from ") + table);
        EXPECT_TRUE(db->close());
        return count;
    }

    // A text message and a watch's voice message.
    static std::string reply()
    {
        return std::string(
                   R"({"d":[{"_id":"t1","Desc":"","Context":"hi","From":"LW3600000001","To":"ann","MsgType":3},)")
            + R"({"_id":"v1","Desc":")" + core::ServiceProtocol::VoiceMarker
            + R"(","Context":"v1.amr","From":"LW3600000001","To":"ann","MsgType":5}]})";
    }

    std::vector<std::shared_ptr<core::UserMessageQuery>> announced;
    base::Log::ScopedCapture quiet;
};

TEST_F(IncomingMessagesTest, VoiceGoesToTheChatTablesTheRestToTheMessageCentreAndAllIsAnnounced)
{
    currentDeviceType(36);
    EXPECT_EQ(IncomingMessages::store(reply()), 2u);
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserChatQuery"), 1);
    EXPECT_EQ(rows("UserChatList"), 1);
    EXPECT_EQ(rows("UserMessageQuery"), 1);
    EXPECT_EQ(rows("UserMessageList"), 1);
    ASSERT_EQ(announced.size(), 2u);
    EXPECT_EQ(announced[0]->id_, "t1");
    EXPECT_EQ(announced[1]->id_, "v1");
    EXPECT_EQ(announced[1]->userName, "ann") << "stored for the signed-in account";
}

TEST_F(IncomingMessagesTest, AWatchOfType27KeepsItsVoiceMessagesWithTheOtherMessages)
{
    currentDeviceType(IncomingMessages::VoiceInMessageCentreType);
    EXPECT_EQ(IncomingMessages::store(reply()), 2u);
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserChatQuery"), 0);
    EXPECT_EQ(rows("UserMessageQuery"), 2);
    EXPECT_EQ(announced.size(), 2u);
}

TEST_F(IncomingMessagesTest, TheChatFormAnnouncesChatMessagesAndReloadsForTheOthers)
{
    currentDeviceType(36);
    int reloads = 0;
    EXPECT_EQ(IncomingMessages::storeForChat(reply(), [&] { ++reloads; }), 2u);
    ASSERT_TRUE(settled());
    EXPECT_EQ(reloads, 1);
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_EQ(announced[0]->id_, "v1");
    EXPECT_EQ(rows("UserChatQuery"), 1);
    EXPECT_EQ(rows("UserMessageQuery"), 1);

    currentDeviceType(IncomingMessages::VoiceInMessageCentreType);
    announced.clear();
    reloads = 0;
    std::string later = reply();
    for (const char* id : { "t1", "v1" })
        later.replace(later.find(id), 2, std::string(id) + "b");
    EXPECT_EQ(IncomingMessages::storeForChat(later, [&] { ++reloads; }), 2u);
    ASSERT_TRUE(settled());
    EXPECT_EQ(reloads, 2) << "type 27: the voice message is a message-centre message too";
    EXPECT_TRUE(announced.empty());
    EXPECT_EQ(IncomingMessages::storeForChat(reply(), {}), 2u) << "an empty reload is not called";
}

TEST_F(IncomingMessagesTest, AReplyWithoutMessagesStoresNothing)
{
    for (const char* empty : { R"({"d":[]})", R"({"d":null})", "not json", "" })
        EXPECT_EQ(IncomingMessages::storeForChat(empty, [] { ADD_FAILURE(); }), 0u) << empty;
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserMessageQuery"), 0);
    EXPECT_TRUE(announced.empty());
}

// A reply of `count` text messages from one watch, ids prefixed.
std::string batch(size_t count, const std::string& prefix)
{
    std::string reply = R"({"d":[)";
    for (size_t i = 0; i < count; ++i) {
        reply += i ? "," : "";
        reply += R"({"_id":")" + prefix + std::to_string(i)
            + R"(","Desc":"","Context":"hi","From":"LW3600000001","To":"ann","MsgType":3})";
    }
    return reply + "]}";
}

TEST_F(IncomingMessagesTest, TheMainLoopKeepsTurningWhileABigBatchIsStored)
{
    currentDeviceType(36);
    EXPECT_EQ(IncomingMessages::store(batch(5000, "m")), 5000u);
    EXPECT_TRUE(announced.empty()) << "announced only after the store has committed, on a later turn";
    bool fired = false;
    auto timer = base::Timer::scheduled(10ms, false, [&](base::Timer&) { fired = true; });
    clock->advance(10ms);
    EXPECT_TRUE(fired);
    ASSERT_TRUE(settled());
    EXPECT_EQ(announced.size(), 5000u);
    EXPECT_EQ(rows("UserMessageQuery"), 5000);
    EXPECT_EQ(rows("UserMessageList"), 1) << "one conversation";
    EXPECT_FALSE(std::filesystem::exists(core::MessageSpool::path())) << "nothing left waiting";
}

TEST_F(IncomingMessagesTest, MessagesTheStoreCannotTakeWaitInTheSpoolAndAreStoredByTheNextReply)
{
    currentDeviceType(36);
    std::filesystem::remove_all(core::DBManager::databasePath());
    std::filesystem::create_directories(core::DBManager::databasePath()); // a store that cannot open
    EXPECT_EQ(IncomingMessages::store(reply()), 2u);
    ASSERT_TRUE(settled());
    EXPECT_TRUE(announced.empty()) << "a message that was not stored is not announced";
    EXPECT_EQ(core::MessageSpool::read().size(), 2u);
    auto alert = shownAlert();
    ASSERT_NE(alert, nullptr) << "the user is told";
    EXPECT_EQ(alert->message(), base::localized(IncomingMessages::StoreFailedMessageKey));
    alert->dismissWithClickedButtonIndex(0, false);

    EXPECT_EQ(IncomingMessages::store(batch(1, "n")), 1u);
    ASSERT_TRUE(settled());
    EXPECT_EQ(shownAlert(), nullptr) << "told once, not at every poll";
    EXPECT_EQ(core::MessageSpool::read().size(), 3u);

    std::filesystem::remove_all(core::DBManager::databasePath());
    EXPECT_EQ(IncomingMessages::store(batch(1, "p")), 1u);
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserChatQuery"), 1);
    EXPECT_EQ(rows("UserMessageQuery"), 3);
    ASSERT_EQ(announced.size(), 4u) << "the waiting messages are announced once stored";
    EXPECT_EQ(announced[0]->id_, "t1");
    EXPECT_EQ(announced[3]->id_, "p0");
    EXPECT_FALSE(std::filesystem::exists(core::MessageSpool::path()));
}

TEST_F(IncomingMessagesTest, ASpoolLeftByAnEarlierRunIsStoredAtLaunchInItsPlace)
{
    core::PendingMessage voice { std::make_shared<core::UserMessageQuery>(), core::PendingMessage::Place::Chat };
    voice.message->id_ = "v9";
    voice.message->userName = "ann";
    voice.message->from = "LW3600000001";
    voice.message->to = "ann";
    voice.message->createTime = base::Date::fromTimeIntervalSince1970(1700000000);
    voice.message->msgType = 5;
    ASSERT_TRUE(core::MessageSpool::write({ voice }));

    IncomingMessages::storeSpooled();
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserChatQuery"), 1);
    EXPECT_EQ(rows("UserMessageQuery"), 0);
    auto chat = core::DBManager::selectUserChatQueryByUserName("ann", "LW3600000001", "ann");
    ASSERT_EQ(chat.size(), 1u);
    EXPECT_EQ(chat[0]->msgType, 5);
    EXPECT_EQ(chat[0]->createTime, voice.message->createTime);
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(core::MessageSpool::path()));
}

TEST_F(IncomingMessagesTest, ASpoolThatDoesNotReadIsKeptAside)
{
    ASSERT_TRUE(base::Files::writeAtomically(core::MessageSpool::path(), "not a spool"));
    EXPECT_TRUE(core::MessageSpool::read().empty());
    auto aside = core::MessageSpool::path();
    aside += ".corrupt-1";
    EXPECT_EQ(base::Files::read(aside), "not a spool");
    std::filesystem::remove(aside);
}

} // namespace
