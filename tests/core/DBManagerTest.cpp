#include "core/messages/DBManager.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "core/state/SettingsKeys.h"
#include "database/Database.h"
#include "database/DatabaseAdditions.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sys/stat.h>
#include <thread>

using core::DBManager;
using core::UserMessageQuery;

namespace {

class DBManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove(DBManager::databasePath());
        signIn("ann");
    }
    void TearDown() override { base::UserDefaults::standard().removeObjectForKey(core::SettingsKeys::LoginName2); }

    static void signIn(const char* account)
    {
        base::UserDefaults::standard().setObject(base::Value(account), core::SettingsKeys::LoginName2);
    }

    static UserMessageQuery message(std::string id, std::string from, std::string to, double time)
    {
        UserMessageQuery m;
        m.id_ = std::move(id);
        m.from = std::move(from);
        m.to = std::move(to);
        m.userName = "ann";
        m.context = "hello";
        m.msgType = UserMessageQuery::TextType;
        m.createTime = base::Date::fromTimeIntervalSince1970(time);
        return m;
    }

    static std::vector<std::string> ids(const std::vector<std::shared_ptr<UserMessageQuery>>& messages)
    {
        std::vector<std::string> result;
        for (const auto& m : messages)
            result.push_back(m->id_.value_or("?"));
        return result;
    }

    static int rows(const char* table, const std::string& condition = "1")
    {
        auto db = database::Database::databaseWithPath(DBManager::databasePath().string());
        EXPECT_TRUE(db->open());
        int count = database::intForQuery(*db, std::string("select count(*) from ") + table + " where " + condition);
        EXPECT_TRUE(db->close());
        return count;
    }

    base::Log::ScopedCapture m_quiet;
};

TEST_F(DBManagerTest, ChatHoldsBothDirectionsOldestFirstForTheAccountOnly)
{
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(message("c", "SN1", "ann", 300)));
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(message("a", "ann", "SN1", 100)));
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(message("b", "SN1", "ann", 200)));
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(message("other-device", "ann", "SN2", 150)));
    auto foreign = message("other-account", "SN1", "bob", 250);
    foreign.userName = "bob";
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(foreign));

    EXPECT_EQ(ids(DBManager::selectUserChatQueryByUserName("ann", "ann", "SN1")),
        (std::vector<std::string> { "a", "b", "c" }));
    EXPECT_EQ(ids(DBManager::selectUserChatQueryByUserName("ann", "SN1", "ann")),
        (std::vector<std::string> { "a", "b", "c" }));
    EXPECT_TRUE(DBManager::selectUserChatQueryByUserName("carl", "ann", "SN1").empty());
}

TEST_F(DBManagerTest, SameSecondKeepsTheOrderOfStoring)
{
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(message("first", "ann", "SN1", 100.7)));
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(message("second", "SN1", "ann", 100.2)));
    EXPECT_EQ(ids(DBManager::selectUserChatQueryByUserName("ann", "ann", "SN1")),
        (std::vector<std::string> { "first", "second" }));
}

TEST_F(DBManagerTest, MessageFieldsSurviveTheStore)
{
    auto stored = message("m", "SN1", "ann", 1400000000);
    stored.desc = "[Lumet_434B_Voice]";
    stored.fromIconName = "icon02.png";
    stored.url = "file:///tmp/message1";
    stored.msgType = 5;
    stored.context = std::nullopt;
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(stored));
    auto read = DBManager::selectUserChatQueryByUserName("ann", "SN1", "ann");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->desc, stored.desc);
    EXPECT_EQ(read[0]->fromIconName, stored.fromIconName);
    EXPECT_FALSE(read[0]->toIconName);
    EXPECT_FALSE(read[0]->context);
    EXPECT_EQ(read[0]->url, stored.url);
    EXPECT_EQ(read[0]->msgType, 5);
    EXPECT_EQ(read[0]->createTime, stored.createTime);
    EXPECT_EQ(read[0]->userName, "ann");
}

TEST_F(DBManagerTest, AStoredIdIsNotStoredAgain)
{
    EXPECT_TRUE(DBManager::saveOrUpdataUserChatQuery(message("same", "SN1", "ann", 100)));
    EXPECT_TRUE(DBManager::saveOrUpdataUserChatQuery(message("same", "SN1", "ann", 200)));
    EXPECT_EQ(rows("UserChatQuery"), 1);
    ASSERT_TRUE(DBManager::saveOrUpdataUserMessageQuery(message("same", "SN1", "ann", 100)));
    ASSERT_TRUE(DBManager::saveOrUpdataUserMessageQuery(message("same", "SN1", "ann", 100)));
    EXPECT_EQ(rows("UserMessageQuery"), 1);
}

TEST_F(DBManagerTest, TextsFromOutsideAreBoundNotSpliced)
{
    auto hostile = message("x'); drop table UserChatQuery; --", "SN1", "ann", 100);
    hostile.context = "it's \"quoted\"";
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(hostile));
    auto read = DBManager::selectUserChatQueryByUserName("ann", "SN1", "ann");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->id_, hostile.id_);
    EXPECT_EQ(read[0]->context, hostile.context);
    EXPECT_TRUE(DBManager::deleteMessagesOfAccount("' or 1=1 --", "' or 1=1 --"));
    EXPECT_EQ(rows("UserChatQuery"), 1);
}

TEST_F(DBManagerTest, ConversationListKeepsTheLatestMessagePerPartner)
{
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatList(message("1", "SN1", "ann", 100)));
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatList(message("2", "ann", "SN1", 200)));
    ASSERT_TRUE(DBManager::saveOrUpdataUserChatList(message("3", "SN2", "ann", 300)));
    EXPECT_EQ(rows("UserChatList"), 2);
    EXPECT_EQ(rows("UserChatList", "partner = 'SN1' and id_ = '2'"), 1);
}

// Clearing as one account leaves another's messages, which the service will not hand out again, and the
// account's conversation-list rows of other devices.
TEST_F(DBManagerTest, ClearingDeletesOnlyTheAccountsMessagesAndItsListRowsOfTheDevice)
{
    auto of = [](UserMessageQuery message, const char* account) {
        message.userName = account;
        return message;
    };
    for (const char* account : { "ann", "bob" }) {
        std::string prefix = account;
        ASSERT_TRUE(DBManager::saveOrUpdataUserChatQuery(of(message(prefix + "1", "SN1", account, 100), account)));
        ASSERT_TRUE(DBManager::saveOrUpdataUserChatList(of(message(prefix + "1", "SN1", account, 100), account)));
        ASSERT_TRUE(DBManager::saveOrUpdataUserChatList(of(message(prefix + "2", "SN2", account, 100), account)));
        ASSERT_TRUE(DBManager::saveOrUpdataUserMessageQuery(of(message(prefix + "3", "SN2", account, 100), account)));
        ASSERT_TRUE(DBManager::saveOrUpdataUserMessageList(of(message(prefix + "3", "SN1", account, 100), account)));
    }
    EXPECT_TRUE(DBManager::deleteMessagesOfAccount("bob", "SN1"));
    for (const char* table : { "UserChatQuery", "UserMessageQuery", "UserMessageList" })
        EXPECT_EQ(rows(table, "userName = 'bob'"), 0) << table;
    EXPECT_EQ(rows("UserChatList", "userName = 'bob'"), 1) << "another device's conversation stays listed";
    EXPECT_EQ(rows("UserChatList", "userName = 'bob' and partner = 'SN2'"), 1);
    EXPECT_EQ(rows("UserChatQuery", "userName = 'ann'"), 1);
    EXPECT_EQ(rows("UserChatList", "userName = 'ann'"), 2);
    EXPECT_EQ(rows("UserMessageQuery", "userName = 'ann'"), 1);
    EXPECT_EQ(rows("UserMessageList", "userName = 'ann'"), 1);
}

// A long conversation read a page at a time, back from the newest, is the whole conversation in its order:
// across page boundaries that fall among messages of the same second or without a time, in both places, with
// other conversations' messages among its rows.
TEST_F(DBManagerTest, ConversationPagesJoinIntoTheWholeConversation)
{
    using Place = core::PendingMessage::Place;
    for (Place place : { Place::Chat, Place::MessageCentre }) {
        SCOPED_TRACE(place == Place::Chat ? "chat" : "message centre");
        std::filesystem::remove(DBManager::databasePath());
        auto store = [place](const UserMessageQuery& stored) {
            return place == Place::Chat ? DBManager::saveOrUpdataUserChatQuery(stored)
                                        : DBManager::saveOrUpdataUserMessageQuery(stored);
        };
        for (int i = 0; i < 30; ++i) {
            bool own = i % 2 == 0;
            // Four a second, stored newest second first, and every fifth without a time.
            auto stored = message("m" + std::to_string(i), own ? "ann" : "SN1", own ? "SN1" : "ann", 1000 - i / 4);
            if (i % 5 == 0)
                stored.createTime.reset();
            ASSERT_TRUE(store(stored));
            auto foreign = message("x" + std::to_string(i), "ann", i % 3 ? "SN2" : "SN1", 1000 - i / 4);
            if (i % 3 == 0)
                foreign.userName = "bob";
            ASSERT_TRUE(store(foreign));
        }
        auto whole = ids(place == Place::Chat ? DBManager::selectUserChatQueryByUserName("ann", "ann", "SN1")
                                              : DBManager::selectUserMessageQueryByUserName("ann", "ann", "SN1"));
        ASSERT_EQ(whole.size(), 30u);
        for (int limit : { 1, 3, 4, 7, 50 }) {
            SCOPED_TRACE(limit);
            std::vector<core::StoredMessage> read;
            std::optional<core::ConversationKey> last;
            for (int pages = 0; pages <= 30; ++pages) {
                auto page = DBManager::selectConversationPage(place, "ann", "ann", "SN1", last, limit);
                if (page.empty())
                    break;
                EXPECT_LE(page.size(), static_cast<size_t>(limit));
                last = page.front().key;
                read.insert(read.begin(), page.begin(), page.end());
            }
            std::vector<std::string> readIds;
            for (const auto& row : read)
                readIds.push_back(row.message->id_.value_or("?"));
            EXPECT_EQ(readIds, whole);
            for (size_t first : { size_t(0), size_t(9), size_t(29) }) {
                std::vector<std::string> tail;
                for (const auto& row : DBManager::selectConversationFrom(place, "ann", "SN1", "ann", read[first].key))
                    tail.push_back(row.message->id_.value_or("?"));
                EXPECT_EQ(tail, std::vector<std::string>(whole.begin() + first, whole.end()));
            }
        }
    }
}

// A file of the first version (no conversation indexes) keeps its messages and gains the indexes that serve
// the pages when it is opened.
TEST_F(DBManagerTest, AnOlderFileGainsTheConversationIndexes)
{
    {
        auto db = database::Database::databaseWithPath(DBManager::databasePath().string());
        ASSERT_TRUE(db->open());
        const char* columns = "(id_ text unique, userName text, context text, desc_ text, from_ text, to_ text, "
                              "fromIconName text, toIconName text, msgType integer, url text, createTime text)";
        for (const char* table : { "UserChatQuery", "UserMessageQuery" })
            ASSERT_TRUE(db->executeUpdate(std::string("create table ") + table + " " + columns));
        ASSERT_TRUE(db->executeUpdate("insert into UserChatQuery (id_, userName, from_, to_, createTime) values "
                                      "('kept', 'ann', 'SN1', 'ann', '2020/01/01 10:00:00')"));
        ASSERT_TRUE(db->executeUpdate("pragma user_version = 1"));
        ASSERT_TRUE(db->close());
    }
    EXPECT_EQ(ids(DBManager::selectUserChatQueryByUserName("ann", "ann", "SN1")), std::vector<std::string> { "kept" });
    EXPECT_EQ(rows("sqlite_master",
                  "type = 'index' and name in ('UserChatQueryConversation', "
                  "'UserMessageQueryConversation')"),
        2);
}

// SQLite counts the file's write transactions in its header (the "file change counter", bytes 24-27).
uint32_t fileChangeCounter()
{
    auto bytes = base::Files::read(DBManager::databasePath()).value_or("");
    if (bytes.size() < 28)
        return 0;
    uint32_t counter = 0;
    for (int i = 24; i < 28; ++i)
        counter = counter << 8 | static_cast<unsigned char>(bytes[i]);
    return counter;
}

TEST_F(DBManagerTest, StoringTheCurrentDeviceAgainWritesNothingAndAChangeIsStored)
{
    core::MobileDeviceAndLocation watch { "SN1", "Watch", 36, 1 };
    ASSERT_TRUE(DBManager::saveOrUpdataMobileDeviceDB(watch));
    uint32_t counter = fileChangeCounter();
    ASSERT_NE(counter, 0u);

    EXPECT_TRUE(DBManager::saveOrUpdataMobileDeviceDB(watch));
    EXPECT_EQ(fileChangeCounter(), counter);

    for (core::MobileDeviceAndLocation changed : { core::MobileDeviceAndLocation { "SN1", "Renamed", 36, 1 },
             core::MobileDeviceAndLocation { "SN1", "Renamed", std::nullopt, 1 },
             core::MobileDeviceAndLocation { std::nullopt, "Renamed", std::nullopt, 1 } }) {
        EXPECT_TRUE(DBManager::saveOrUpdataMobileDeviceDB(changed));
        auto current = DBManager::readSingleMobileDevice();
        ASSERT_TRUE(current);
        EXPECT_EQ(current->serialNumber, changed.serialNumber);
        EXPECT_EQ(current->DeviceName, "Renamed");
        EXPECT_EQ(current->deviceTypeID, changed.deviceTypeID);
    }
    EXPECT_NE(fileChangeCounter(), counter);
    EXPECT_EQ(rows("MobileDeviceDB"), 1);
}

// The main thread's connection stays open with its statements prepared: what another connection (another
// thread, another process) writes, even to the schema, must show at the next read, and it must never be kept
// from writing.
TEST_F(DBManagerTest, AnotherConnectionsWritesShowAtOnceAndAreNeverBlocked)
{
    ASSERT_TRUE(DBManager::saveOrUpdataMobileDeviceDB({ "SN1", "Watch", 36, 1 }));
    ASSERT_TRUE(DBManager::readSingleMobileDevice());

    auto other = database::Database::databaseWithPath(DBManager::databasePath().string());
    other->setBusyRetryTimeout(1);
    ASSERT_TRUE(other->open());
    ASSERT_TRUE(other->executeUpdate("begin exclusive transaction"));
    ASSERT_TRUE(other->executeUpdate("update MobileDeviceDB set serialNumber = 'SN2' where userName = 'ann'"));
    ASSERT_TRUE(other->executeUpdate("commit"));
    ASSERT_TRUE(DBManager::readSingleMobileDevice());
    EXPECT_EQ(DBManager::readSingleMobileDevice()->serialNumber, "SN2");

    ASSERT_TRUE(other->executeUpdate("drop table MobileDeviceDB"));
    ASSERT_TRUE(other->executeUpdate("create table MobileDeviceDB (deviceTypeID integer, DeviceName text, "
                                     "serialNumber text, userName text)"));
    ASSERT_TRUE(other->executeUpdate("insert into MobileDeviceDB values (2, 'Tracker', 'SN3', 'ann')"));
    auto current = DBManager::readSingleMobileDevice();
    ASSERT_TRUE(current);
    EXPECT_EQ(current->serialNumber, "SN3");
    EXPECT_EQ(current->DeviceName, "Tracker");
    EXPECT_EQ(current->deviceTypeID, 2);
    EXPECT_TRUE(DBManager::saveOrUpdataMobileDeviceDB({ "SN4", "Car", 41, 1 }));
    EXPECT_EQ(database::stringForQuery(*other, "select serialNumber from MobileDeviceDB"), "SN4");
    EXPECT_TRUE(other->close());
}

TEST_F(DBManagerTest, CurrentDeviceRowsArePerAccount)
{
    core::MobileDeviceAndLocation annsWatch { "SN1", "Watch", 36, 1 };
    EXPECT_TRUE(DBManager::saveOrUpdataMobileDeviceDB(annsWatch));
    signIn("bob");
    EXPECT_FALSE(DBManager::readSingleMobileDevice());
    EXPECT_TRUE(DBManager::saveOrUpdataMobileDeviceDB({ "SN9", "Car", 41, std::nullopt }));

    signIn("ann");
    EXPECT_TRUE(DBManager::saveOrUpdataMobileDeviceDB({ "SN2", "Tracker", 2, 0 }));
    auto current = DBManager::readSingleMobileDevice();
    ASSERT_TRUE(current);
    EXPECT_EQ(current->serialNumber, "SN2");
    EXPECT_EQ(current->DeviceName, "Tracker");
    EXPECT_EQ(current->deviceTypeID, 2);
    EXPECT_FALSE(current->deviceOnlineState);
    EXPECT_EQ(rows("MobileDeviceDB"), 2);

    EXPECT_TRUE(DBManager::deleteAllMobileDevice());
    EXPECT_FALSE(DBManager::readSingleMobileDevice());
    signIn("bob");
    ASSERT_TRUE(DBManager::readSingleMobileDevice());
    EXPECT_EQ(DBManager::readSingleMobileDevice()->serialNumber, "SN9");
}

TEST_F(DBManagerTest, WithoutSignedInAccountThereIsNoCurrentDevice)
{
    base::UserDefaults::standard().removeObjectForKey(core::SettingsKeys::LoginName2);
    EXPECT_FALSE(DBManager::readSingleMobileDevice());
}

TEST_F(DBManagerTest, UnopenableFileGivesNothing)
{
    std::filesystem::create_directories(DBManager::databasePath());
    EXPECT_FALSE(DBManager::createTables());
    EXPECT_FALSE(DBManager::saveOrUpdataUserChatQuery(message("1", "SN1", "ann", 100)));
    EXPECT_TRUE(DBManager::selectUserChatQueryByUserName("ann", "ann", "SN1").empty());
    EXPECT_FALSE(DBManager::readSingleMobileDevice());
    EXPECT_FALSE(DBManager::deleteMessagesOfAccount("ann", "SN1"));
    std::filesystem::remove(DBManager::databasePath());
}

} // namespace

namespace {

TEST_F(DBManagerTest, AFileThatIsNotADatabaseIsKeptAsideAndANewOneMade)
{
    std::string noise(64 * 1024, '\0');
    uint32_t state = 12345;
    for (char& byte : noise) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 24);
    }
    ASSERT_TRUE(base::Files::writeAtomically(DBManager::databasePath(), noise));

    EXPECT_TRUE(DBManager::createTables());
    auto aside = DBManager::databasePath();
    aside += ".corrupt-1";
    EXPECT_EQ(base::Files::read(aside), noise) << "kept whole";
    auto mode = [](const std::filesystem::path& file) {
        struct stat info { };
        return ::stat(file.c_str(), &info) == 0 ? info.st_mode & 0777 : 0u;
    };
    EXPECT_EQ(mode(aside), 0600u) << "the copy kept aside is as private as the messages in it";
    EXPECT_EQ(mode(DBManager::databasePath()), 0600u) << "and so is the new file";
    EXPECT_TRUE(DBManager::saveOrUpdataUserMessageQuery(message("a1", "LW3600000001", "ann", 1)));
    EXPECT_FALSE(std::filesystem::exists(DBManager::databasePath().string() + ".corrupt-2"))
        << "the new file is used, not set aside again";
    std::filesystem::remove(aside);
}

TEST_F(DBManagerTest, ABatchOfIncomingMessagesIsStoredWholeOrNotAtAll)
{
    using core::PendingMessage;
    auto chat = std::make_shared<UserMessageQuery>(message("c1", "LW3600000001", "ann", 1));
    auto text = std::make_shared<UserMessageQuery>(message("t1", "LW3600000001", "ann", 2));
    ASSERT_TRUE(DBManager::saveIncomingMessages(
        { { chat, PendingMessage::Place::Chat }, { text, PendingMessage::Place::MessageCentre } }));
    EXPECT_EQ(DBManager::selectUserChatQueryByUserName("ann", "ann", "LW3600000001").size(), 1u);
    EXPECT_EQ(rows("UserMessageQuery"), 1);
    EXPECT_EQ(rows("UserMessageList"), 1);
    EXPECT_EQ(rows("UserChatList"), 1);

    auto db = database::Database::databaseWithPath(DBManager::databasePath().string());
    ASSERT_TRUE(db->open());
    ASSERT_TRUE(db->executeUpdate("drop table UserChatList"));
    ASSERT_TRUE(db->close());
    auto later = std::make_shared<UserMessageQuery>(message("t2", "LW3600000001", "ann", 3));
    EXPECT_FALSE(DBManager::saveIncomingMessages(
        { { later, PendingMessage::Place::MessageCentre }, { chat, PendingMessage::Place::Chat } }));
    EXPECT_EQ(rows("UserMessageQuery"), 1) << "the first message of the failed batch is rolled back";
}

// A file that is still a database by its header but whose pages are damaged: found by the check at launch, or
// by the first write that meets the damage, kept aside whole, and a new file made in its place.
class DamagedDatabase : public DBManagerTest {
protected:
    static constexpr size_t PageSize = 4096;

    void TearDown() override
    {
        for (int n = 1; n <= 3; ++n)
            std::filesystem::remove(DBManager::databasePath().string() + ".corrupt-" + std::to_string(n));
        DBManagerTest::TearDown();
    }

    // A file of several pages: two hundred messages.
    static void fill()
    {
        std::vector<core::PendingMessage> batch;
        for (int i = 0; i < 200; ++i)
            batch.push_back({ std::make_shared<UserMessageQuery>(message("f" + std::to_string(i), "SN1", "ann", i)),
                core::PendingMessage::Place::MessageCentre });
        ASSERT_TRUE(DBManager::saveIncomingMessages(batch));
    }

    // Replaces the file with the damaged bytes; they are what must be kept aside.
    static std::string damage(const std::function<void(std::string&)>& how)
    {
        auto bytes = base::Files::read(DBManager::databasePath());
        EXPECT_TRUE(bytes && bytes->size() > 4 * PageSize);
        how(*bytes);
        EXPECT_TRUE(base::Files::writeAtomically(DBManager::databasePath(), *bytes));
        return *bytes;
    }

    static void truncate(std::string& bytes) { bytes.resize(PageSize + PageSize / 2); }

    // Every page after the first (which holds the header and the schema) filled with noise.
    static void garblePages(std::string& bytes)
    {
        uint32_t state = 99;
        for (size_t i = PageSize; i < bytes.size(); ++i) {
            state = state * 1103515245u + 12345u;
            bytes[i] = static_cast<char>(state >> 24);
        }
    }

    static std::optional<std::string> keptAside()
    {
        return base::Files::read(DBManager::databasePath().string() + ".corrupt-1");
    }
};

TEST_F(DamagedDatabase, ATruncatedOrGarbledFileIsKeptAsideAtLaunch)
{
    for (auto how : { truncate, garblePages }) {
        fill();
        std::string damaged = damage(how);
        EXPECT_TRUE(DBManager::createTables());
        EXPECT_EQ(keptAside(), damaged) << "kept whole";
        EXPECT_EQ(rows("UserMessageQuery"), 0) << "a new file";
        EXPECT_TRUE(DBManager::saveOrUpdataUserMessageQuery(message("n1", "SN1", "ann", 1)));
        EXPECT_EQ(rows("UserMessageQuery"), 1);
        std::filesystem::remove(DBManager::databasePath().string() + ".corrupt-1");
        std::filesystem::remove(DBManager::databasePath());
    }
}

TEST_F(DamagedDatabase, AWriteThatMeetsTheDamageIsMadeOnANewFile)
{
    fill();
    ASSERT_TRUE(DBManager::createTables());
    std::string damaged = damage(garblePages);
    auto later = std::make_shared<UserMessageQuery>(message("later", "SN1", "ann", 500));
    bool stored = false;
    // Off the main thread, as the storing queue writes: a connection of its own that meets the damage.
    std::thread([&] {
        stored = DBManager::saveIncomingMessages({ { later, core::PendingMessage::Place::MessageCentre } });
    }).join();
    EXPECT_TRUE(stored);
    EXPECT_EQ(keptAside(), damaged);
    EXPECT_EQ(rows("UserMessageQuery"), 1);
    EXPECT_EQ(rows("UserMessageQuery", "id_ = 'later'"), 1);

    EXPECT_TRUE(DBManager::saveOrUpdataUserChatQuery(message("c1", "SN1", "ann", 1))) << "the main thread follows";
    EXPECT_FALSE(std::filesystem::exists(DBManager::databasePath().string() + ".corrupt-2"));
}

} // namespace
