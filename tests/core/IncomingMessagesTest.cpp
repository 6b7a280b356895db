// The message-storing rule: which tables a fetched message goes to, and how the two forms announce it.
#include "core/IncomingMessages.h"
#include "base/Log.h"
#include "base/NotificationCenter.h"
#include "base/UserDefaults.h"
#include "core/DBManager.h"
#include "core/Device.h"
#include "core/NotificationNames.h"
#include "core/ServiceProtocol.h"
#include "core/SettingsKeys.h"
#include "core/Singleton.h"
#include "database/Database.h"
#include "database/DatabaseAdditions.h"

#include <gtest/gtest.h>

namespace {

using core::IncomingMessages;

class IncomingMessagesTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove(core::DBManager::databasePath());
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
        base::NotificationCenter::defaultCenter().removeObservers(this);
        base::UserDefaults::standard().removeObjectForKey(core::SettingsKeys::LoginName2);
        core::Singleton::shared().setDeviceDetail(nullptr);
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
        db->open();
        int count = database::intForQuery(*db, std::string("select count(*) from ") + table);
        db->close();
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
    EXPECT_EQ(rows("UserChatQuery"), 0);
    EXPECT_EQ(rows("UserMessageQuery"), 2);
    EXPECT_EQ(announced.size(), 2u);
}

TEST_F(IncomingMessagesTest, TheChatFormAnnouncesChatMessagesAndReloadsForTheOthers)
{
    currentDeviceType(36);
    int reloads = 0;
    EXPECT_EQ(IncomingMessages::storeForChat(reply(), [&] { ++reloads; }), 2u);
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
    EXPECT_EQ(reloads, 2) << "type 27: the voice message is a message-centre message too";
    EXPECT_TRUE(announced.empty());
    EXPECT_EQ(IncomingMessages::storeForChat(reply(), {}), 2u) << "an empty reload is not called";
}

TEST_F(IncomingMessagesTest, AReplyWithoutMessagesStoresNothing)
{
    for (const char* empty : { R"({"d":[]})", R"({"d":null})", "not json", "" })
        EXPECT_EQ(IncomingMessages::storeForChat(empty, [] { ADD_FAILURE(); }), 0u) << empty;
    EXPECT_EQ(rows("UserMessageQuery"), 0);
    EXPECT_TRUE(announced.empty());
}

} // namespace
