// The message-storing rule: which tables a fetched message goes to, and how the two forms announce it once
// the store has committed; what becomes of messages the store cannot take, of texts with bad characters and of
// replies that cannot be read.
#include "core/messages/IncomingMessages.h"
#include "FailingSync.h"
#include "base/ClockFixture.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "base/text/Localization.h"
#include "base/time/Timer.h"
#include "core/messages/DBManager.h"
#include "core/messages/MessageSpool.h"
#include "core/messages/WaitingReplies.h"
#include "core/readers/FileText.h"
#include "core/readers/MessageList.h"
#include "core/records/Device.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/AccountDevices.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "database/Database.h"
#include "database/DatabaseAdditions.h"
#include "support/ShownAlert.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <fstream>
#include <set>
#include <sys/resource.h>
#include <sys/statvfs.h>

using namespace std::chrono_literals;

std::atomic<int> syncCalls { 0 };
std::atomic<bool> syncsFail { false };

extern "C" int fsync(int fd)
{
    ++syncCalls;
    if (syncsFail) {
        errno = EIO;
        return -1;
    }
    static auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

namespace {

using core::IncomingMessages;

using test::shownAlert;

class IncomingMessagesTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        test::ManualClockTest::SetUp();
        std::filesystem::remove_all(core::DBManager::databasePath());
        std::filesystem::remove_all(core::MessageSpool::folder());
        std::filesystem::remove(core::MessageSpool::oldFile());
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
        core::AccountDevices::forget();
        std::filesystem::remove_all(core::MessageSpool::folder());
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

    static size_t waiting() { return core::MessageSpool::replies().size(); }

    // Stores `reply` and checks that it adds `added` messages to those this test stored before: announced, and
    // rows in the message centre's table.
    void expectStores(const std::string& reply, size_t added)
    {
        IncomingMessages::store(reply);
        ASSERT_TRUE(settled());
        m_storedSoFar += added;
        EXPECT_EQ(announced.size(), m_storedSoFar);
        EXPECT_EQ(rows("UserMessageQuery"), static_cast<int>(m_storedSoFar));
    }

    // The replies kept aside, each with the reason written beside it.
    static std::vector<std::pair<std::string, std::string>> keptAside()
    {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(core::MessageSpool::asideFolder(), error))
            if (entry.path().extension() == core::MessageSpool::ReplyExtension)
                files.push_back(entry.path());
        std::sort(files.begin(), files.end()); // in the order the replies came
        std::vector<std::pair<std::string, std::string>> aside;
        for (const auto& file : files) {
            auto reason = file;
            reason += core::MessageSpool::ReasonExtension;
            aside.emplace_back(base::Files::read(file).value_or(""), base::Files::read(reason).value_or(""));
        }
        return aside;
    }

    // The log lines that hold `fragment`.
    size_t logged(std::string_view fragment) const
    {
        auto lines = quiet.messages();
        return std::count_if(lines.begin(), lines.end(),
            [&](const std::string& line) { return line.find(fragment) != std::string::npos; });
    }

    std::vector<std::shared_ptr<core::UserMessageQuery>> announced;
    base::Log::ScopedCapture quiet;

private:
    size_t m_storedSoFar = 0;
};

TEST_F(IncomingMessagesTest, VoiceGoesToTheChatTablesTheRestToTheMessageCentreAndAllIsAnnounced)
{
    currentDeviceType(36);
    IncomingMessages::store(reply());
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
    IncomingMessages::store(reply());
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserChatQuery"), 0);
    EXPECT_EQ(rows("UserMessageQuery"), 2);
    EXPECT_EQ(announced.size(), 2u);
}

TEST_F(IncomingMessagesTest, TheChatFormAnnouncesChatMessagesAndReloadsForTheOthers)
{
    currentDeviceType(36);
    int reloads = 0;
    IncomingMessages::storeForChat(reply(), [&] { ++reloads; });
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
    IncomingMessages::storeForChat(later, [&] { ++reloads; });
    ASSERT_TRUE(settled());
    EXPECT_EQ(reloads, 2) << "type 27: the voice message is a message-centre message too";
    EXPECT_TRUE(announced.empty());
    IncomingMessages::storeForChat(reply(), {}); // an empty reload is not called
}

TEST_F(IncomingMessagesTest, AReplyWithoutMessagesStoresNothingAndLeavesNothingBehind)
{
    // A refusal's text stands where the list would: there is nothing in it to keep. A message with neither text,
    // description nor file holds nothing either.
    for (const char* empty : { R"({"d":[]})", R"({"d":null})", R"({})", R"({"d":"busy"})", "", " \n",
             R"({"d":[{},{}]})", R"({"d":[{"_id":"e1","Context":null,"MsgType":3}]})" })
        IncomingMessages::storeForChat(empty, [] { ADD_FAILURE(); });
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserMessageQuery"), 0);
    EXPECT_EQ(rows("UserMessageList"), 0);
    EXPECT_TRUE(announced.empty());
    EXPECT_EQ(waiting(), 0u);
    EXPECT_TRUE(keptAside().empty());
    EXPECT_EQ(logged("neither text, description nor file"), 1u) << "said once";

    // The empty list of a poll that found nothing is not even written to the spool: at rest a poll comes every
    // few seconds.
    int before = syncCalls;
    IncomingMessages::store(R"({"d":[]})");
    IncomingMessages::store(" {\"d\" : [ ] }\n");
    ASSERT_TRUE(settled());
    EXPECT_EQ(syncCalls, before) << "no disk write for nothing";
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
    IncomingMessages::store(batch(5000, "m"));
    EXPECT_TRUE(announced.empty()) << "announced only after the store has committed, on a later turn";
    bool fired = false;
    auto timer = base::Timer::scheduled(10ms, false, [&](base::Timer&) { fired = true; });
    clock->advance(10ms);
    EXPECT_TRUE(fired);
    ASSERT_TRUE(settled());
    EXPECT_EQ(announced.size(), 5000u);
    EXPECT_EQ(rows("UserMessageQuery"), 5000);
    EXPECT_EQ(rows("UserMessageList"), 1) << "one conversation";
    EXPECT_EQ(waiting(), 0u) << "nothing left waiting";
}

TEST_F(IncomingMessagesTest, MessagesTheStoreCannotTakeWaitInTheSpoolAndAreStoredByTheNextReply)
{
    currentDeviceType(36);
    std::filesystem::remove_all(core::DBManager::databasePath());
    std::filesystem::create_directories(core::DBManager::databasePath()); // a store that cannot open
    IncomingMessages::store(reply());
    ASSERT_TRUE(settled());
    EXPECT_TRUE(announced.empty()) << "a message that was not stored is not announced";
    EXPECT_EQ(waiting(), 1u);
    auto alert = shownAlert();
    ASSERT_NE(alert, nullptr) << "the user is told";
    EXPECT_EQ(alert->message(), base::localized(IncomingMessages::StoreFailedMessageKey));
    alert->dismissWithClickedButtonIndex(0, false);

    IncomingMessages::store(batch(1, "n"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(shownAlert(), nullptr) << "told once, not at every poll";
    EXPECT_EQ(waiting(), 2u);

    std::filesystem::remove_all(core::DBManager::databasePath());
    IncomingMessages::store(batch(1, "p"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserChatQuery"), 1);
    EXPECT_EQ(rows("UserMessageQuery"), 3);
    ASSERT_EQ(announced.size(), 4u) << "the waiting messages are announced once stored";
    EXPECT_EQ(announced[0]->id_, "t1");
    EXPECT_EQ(announced[3]->id_, "p0");
    EXPECT_EQ(waiting(), 0u);
}

TEST_F(IncomingMessagesTest, WithoutRoomInTheSpoolTheReplyIsStoredFromMemoryAndOnlyAWrittenOneIsCalledKept)
{
    currentDeviceType(36);
    std::filesystem::remove_all(core::MessageSpool::folder());
    ASSERT_TRUE(base::Files::writeAtomically(core::MessageSpool::folder(), "in the way")); // the spool cannot be made
    EXPECT_FALSE(core::MessageSpool::canTakeReply());

    IncomingMessages::store(batch(1, "a"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserMessageQuery"), 1) << "stored straight from memory";
    EXPECT_EQ(announced.size(), 1u);
    EXPECT_EQ(shownAlert(), nullptr);

    std::filesystem::remove_all(core::DBManager::databasePath());
    std::filesystem::create_directories(core::DBManager::databasePath());
    IncomingMessages::store(batch(1, "b"));
    ASSERT_TRUE(settled());
    auto alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->message(), base::localized(IncomingMessages::NotKeptMessageKey))
        << "neither stored nor written: not called kept";
    alert->dismissWithClickedButtonIndex(0, false);

    // Room again: the reply held in memory goes to the spool at the next step, and is stored when the store is.
    std::filesystem::remove(core::MessageSpool::folder());
    IncomingMessages::store(batch(1, "c"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(waiting(), 2u);
    alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->message(), base::localized(IncomingMessages::StoreFailedMessageKey)) << "now they are kept";
    alert->dismissWithClickedButtonIndex(0, false);

    std::filesystem::remove_all(core::DBManager::databasePath());
    IncomingMessages::storeSpooled();
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserMessageQuery"), 2);
    EXPECT_EQ(waiting(), 0u);
}

TEST_F(IncomingMessagesTest, TheSpoolTakesAReplyOnlyWithRoomForTheLargestOne)
{
    EXPECT_TRUE(core::MessageSpool::canTakeReply());
    EXPECT_GE(core::MessageSpool::largestReply(), uintmax_t(64) << 20);
    std::error_code error;
    auto free = std::filesystem::space(core::MessageSpool::folder(), error).available;
    ASSERT_FALSE(error);
    EXPECT_FALSE(core::MessageSpool::canTakeReply(free)) << "a reply as large as all the room left";

    // Free blocks of 4 KiB, files in all, files free: the files a reply makes count as its bytes do.
    struct Case {
        fsblkcnt_t blocks;
        fsfilcnt_t files, filesFree;
        bool room;
    } const cases[] = {
        { 1 << 20, 1000, 500, true },
        { 1 << 20, 1000, 0, false },
        { 1 << 20, 1000, 2, false },
        { 1 << 20, 1000, 3, true },
        { 1 << 20, 0, 0, true }, // a file system that counts no files
        { 10, 1000, 500, false },
    };
    for (const Case& c : cases) {
        struct statvfs fs { };
        fs.f_frsize = 4096;
        fs.f_bavail = c.blocks;
        fs.f_files = c.files;
        fs.f_favail = c.filesFree;
        EXPECT_EQ(core::MessageSpool::hasRoom(fs, 1 << 20), c.room) << c.blocks << " " << c.files << " " << c.filesFree;
    }

    // The aside folder keeps what leaves a poll its room, 128 MB at most; when the room is short only because of
    // what it keeps, the notice can say so.
    constexpr uintmax_t MB = 1 << 20;
    const uintmax_t poll = core::MessageSpool::largestReply() + (64 << 10);
    struct AsideCase {
        uintmax_t free, aside, cap;
        bool heldAside;
    } const asideCases[] = {
        { 1000 * MB, 0, core::MessageSpool::AsideCapBytes, false },
        { 150 * MB, 0, 150 * MB - poll, false },
        { 10 * MB, 120 * MB, 130 * MB - poll, true },
        { 10 * MB, 20 * MB, 0, false }, // the disk is short of room whatever is kept aside
        { 10 * MB, 0, 0, false },
    };
    for (const AsideCase& c : asideCases) {
        struct statvfs fs { };
        fs.f_frsize = 4096;
        fs.f_bavail = c.free / 4096;
        EXPECT_EQ(core::MessageSpool::asideCap(fs, c.aside), c.cap) << c.free << " " << c.aside;
        EXPECT_EQ(core::MessageSpool::roomHeldAside(fs, c.aside), c.heldAside) << c.free << " " << c.aside;
    }
}

TEST_F(IncomingMessagesTest, AtExitRepliesHeldInMemoryHaveALastTryAtTheSpool)
{
    std::filesystem::remove_all(core::MessageSpool::folder());
    ASSERT_TRUE(base::Files::writeAtomically(core::MessageSpool::folder(), "in the way"));
    std::filesystem::remove_all(core::DBManager::databasePath());
    std::filesystem::create_directories(core::DBManager::databasePath());
    IncomingMessages::store(batch(1, "x"));
    ASSERT_TRUE(settled());
    if (auto alert = shownAlert())
        alert->dismissWithClickedButtonIndex(0, false);

    EXPECT_FALSE(IncomingMessages::finishBeforeExit(30s));
    EXPECT_TRUE(quiet.contains("lost at exit")) << "the log says where they are";

    std::filesystem::remove(core::MessageSpool::folder());
    EXPECT_TRUE(IncomingMessages::finishBeforeExit(30s));
    EXPECT_EQ(waiting(), 1u) << "written to the spool at the last moment";
    std::filesystem::remove_all(core::DBManager::databasePath());
    IncomingMessages::storeSpooled();
}

// A disk that takes the write but refuses the flush: the reply, held in memory, is written without the flush at
// exit, the kernel then having it.
TEST_F(IncomingMessagesTest, AtExitAReplyThatCouldNotBeFlushedIsWrittenWithoutTheFlush)
{
    std::filesystem::remove_all(core::DBManager::databasePath());
    std::filesystem::create_directories(core::DBManager::databasePath()); // and a store that cannot open
    syncsFail = true;
    IncomingMessages::store(batch(1, "f"));
    ASSERT_TRUE(settled());
    if (auto alert = shownAlert())
        alert->dismissWithClickedButtonIndex(0, false);
    EXPECT_EQ(waiting(), 0u);

    bool finished = IncomingMessages::finishBeforeExit(30s);
    syncsFail = false;
    EXPECT_TRUE(finished);
    EXPECT_TRUE(quiet.contains("without the flush")) << "the log says so";
    EXPECT_EQ(waiting(), 1u);
    std::filesystem::remove_all(core::DBManager::databasePath());
    IncomingMessages::storeSpooled();
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserMessageQuery"), 1);
}

TEST_F(IncomingMessagesTest, BadCharactersInATextCostOnlyThoseCharacters)
{
    currentDeviceType(36);
    const std::string replaced = "\xEF\xBF\xBD";
    // A NUL escape, a lone surrogate, U+FFFF as an escape and as bytes, an emoji cut after its third byte, and
    // a raw control character.
    const std::vector<std::string> texts { R"(a\u0000b)", R"(c\ud83dd)", R"(e\uffff)", "f\xEF\xBF\xBF",
        "g\xF0\x9F\x98h", "i\x01j" };
    std::string text = R"({"d":[)";
    for (size_t i = 0; i < texts.size(); ++i)
        text += R"({"_id":"b)" + std::to_string(i) + R"(","Desc":"","Context":")" + texts[i]
            + R"(","From":"LW3600000001","To":"ann","MsgType":3},)";
    text += R"({"_id":"plain","Desc":"","Context":"fine","From":"LW3600000001","To":"ann","MsgType":3}]})";

    IncomingMessages::store(text);
    ASSERT_TRUE(settled());
    ASSERT_EQ(announced.size(), 7u) << "no message of the reply is lost";
    EXPECT_EQ(announced[0]->context, "a" + replaced + "b");
    EXPECT_EQ(announced[1]->context, "c" + replaced + "d");
    EXPECT_EQ(announced[2]->context, "e" + replaced);
    EXPECT_EQ(announced[3]->context, "f" + replaced);
    EXPECT_EQ(announced[4]->context, "g" + replaced + "h");
    EXPECT_EQ(announced[5]->context, "i" + replaced + "j");
    EXPECT_EQ(announced[6]->context, "fine");
    EXPECT_EQ(rows("UserMessageQuery"), 7);
    EXPECT_EQ(waiting(), 0u);
    EXPECT_TRUE(keptAside().empty());
}

TEST_F(IncomingMessagesTest, OnlyWhatCannotBeReadIsKeptAsideWithItsReasonAndOnlyWhenItMayHoldMessages)
{
    currentDeviceType(36);
    const std::string cut = R"({"d":[{"_id":"c1","Desc":"","Context":"hi","MsgType":3},{"_id":"x1","Context":"hi")";
    const std::string mixed = R"({"d":[7,{"_id":"m1","Desc":"","Context":"hi","From":"LW3600000001","MsgType":3}]})";
    IncomingMessages::store(cut);
    // A captive portal's page, twice, a bare list, a bare text and objects where the list should be hold no
    // messages.
    for (const char* none : { "<html>busy</html>", "<html>sign in</html>", "[1,2]", "\"busy\"",
             R"({"d":{"_id":"o1","Context":"hi"}})", R"({"d":{"Message":"error"}})" })
        IncomingMessages::store(none);
    IncomingMessages::store(mixed);
    ASSERT_TRUE(settled());
    ASSERT_EQ(announced.size(), 2u) << "the readable messages of a reply are stored all the same";
    EXPECT_EQ(announced[0]->id_, "c1");
    EXPECT_EQ(announced[1]->id_, "m1");
    EXPECT_EQ(waiting(), 0u);

    auto aside = keptAside();
    ASSERT_EQ(aside.size(), 2u) << "nothing of the replies without a list";
    EXPECT_TRUE(aside[0].first.ends_with("\n" + cut.substr(cut.find(R"({"_id":"x1")"))))
        << "the first line, then the message the cut left: " << aside[0].first;
    EXPECT_EQ(aside[0].second, "the reply ends inside element 1 (bytes 56 to 82)\n");
    EXPECT_TRUE(aside[1].first.ends_with("\n7"));
    EXPECT_EQ(aside[1].second, "element 0 is not a message (bytes 6 to 7)\n");
    EXPECT_EQ(logged("dropped"), 3u) << "said once for each kind: not JSON, JSON without a list, an object for a list";
    EXPECT_EQ(logged("is an object"), 1u) << "one line, not one a poll";
}

// Replies the strict decoder refuses as a whole still give every message: only what cannot be read goes aside.
TEST_F(IncomingMessagesTest, AReplyThatFailsTheStrictReadGivesEveryMessageItHolds)
{
    currentDeviceType(36);
    struct Case {
        const char* name;
        std::string reply;
        size_t stored;
        size_t aside;
    } const cases[] = {
        { "a byte-order mark before it", "\xEF\xBB\xBF" + batch(2, "bom"), 2, 0 },
        { "NUL bytes after it", batch(2, "nul") + std::string(4096, '\0'), 2, 0 },
        { "an out-of-range number in a field no message reads",
            R"({"d":[{"_id":"big1","Context":"hi","Size":1e999999,"Desc":""},{"_id":"big2","Context":"hi"}]})", 2, 0 },
        { "an out-of-range number in a field a message reads",
            R"({"d":[{"_id":"bad1","Context":"hi","MsgType":1e999999},{"_id":"bad2","Context":"hi"}]})", 1, 1 },
        { "another reply after it", batch(1, "two") + batch(1, "more"), 1, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectStores(c.reply, c.stored);
        EXPECT_EQ(keptAside().size(), c.aside);
        std::filesystem::remove_all(core::MessageSpool::asideFolder());
    }
    EXPECT_EQ(waiting(), 0u);
}

// A stray byte or line before a whole reply (a form feed, a vertical tab, a no-break space, a line that guards
// a script against being run): the reply is read from its first brace, and the log says so. A page that names no
// list from there is still dropped, braces and all.
TEST_F(IncomingMessagesTest, AStrayByteOrLineBeforeAReplyCostsNoMessage)
{
    currentDeviceType(36);
    struct Case {
        const char* name;
        std::string reply;
        size_t stored;
    } const cases[] = {
        { "a form feed", "\f" + batch(1, "ff"), 1 },
        { "a vertical tab", "\v" + batch(1, "vt"), 1 },
        { "a no-break space", "\xC2\xA0" + batch(1, "nbsp"), 1 },
        { "a guard line", ")]}'\n" + batch(1, "guard"), 1 },
        { "blanks and a guard line", " \r\n)]}',\n\t" + batch(2, "blanks"), 2 },
        { "a page with a style", "<html><style>p { color: red }</style>busy</html>", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectStores(c.reply, c.stored);
        EXPECT_TRUE(keptAside().empty()) << "what is passed over holds no brace, so no message";
    }
    EXPECT_EQ(waiting(), 0u);
    EXPECT_EQ(logged("read from its first brace"), 1u) << "said once";
    EXPECT_EQ(logged("holds no messages"), 1u) << "only the page";
}

// A reply that names its list twice is read as the JSON decoder reads it, where the list is named last, by every
// reader: what an earlier list holds is kept aside with its reason, and such a reply is never taken for an empty
// one before it is written.
TEST_F(IncomingMessagesTest, AListNamedTwiceIsReadWhereItIsNamedLastAndAnEarlierOneIsKeptAside)
{
    currentDeviceType(36);
    auto message = [](const std::string& id) {
        return R"({"_id":")" + id + R"(","Desc":"","Context":"hi","From":"LW3600000001","To":"ann","MsgType":3})";
    };
    struct Case {
        std::string reply;
        std::vector<std::string> stored;
        std::string aside;
    } const cases[] = {
        { R"({"d":[],"d":[)" + message("last1") + "]}", { "last1" }, "" },
        { R"({"d":[)" + message("first2") + R"(],"d":[]})", {}, "first2" },
        { R"({"d":[)" + message("first3") + R"(],"d":null})", {}, "first3" },
        { R"({"d":[)" + message("first4") + R"(],"d":[)" + message("last4") + "]}", { "last4" }, "first4" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        announced.clear();
        IncomingMessages::store(c.reply);
        ASSERT_TRUE(settled());
        std::vector<std::string> ids;
        for (const auto& stored : announced)
            ids.push_back(stored->id_.value_or("?"));
        EXPECT_EQ(ids, c.stored);
        auto aside = keptAside();
        ASSERT_EQ(aside.size(), c.aside.empty() ? 0u : 1u);
        if (!c.aside.empty()) {
            EXPECT_NE(aside[0].first.find(c.aside), std::string::npos);
            EXPECT_NE(aside[0].second.find("named again later"), std::string::npos) << aside[0].second;
        }
        std::filesystem::remove_all(core::MessageSpool::asideFolder());
    }
    EXPECT_EQ(waiting(), 0u);
    EXPECT_EQ(logged("named again later"), 3u) << "the log says what was kept aside";
}

// A file-size limit (ulimit -f) below the largest reply is a full disk to the spool: no poll is made, said once.
// A write past it fails (EFBIG) rather than ending the process (its signal ignored, as the application does),
// and the reply is stored from memory all the same. Run in a child process, which the limit cannot outlive.
TEST_F(IncomingMessagesTest, AFileSizeLimitBelowAReplyIsAFullDiskAndCostsNoMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit { };
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 1 << 20;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            bool full = !core::MessageSpool::canTakeReply() && !core::MessageSpool::canTakeReply();
            // A field no message reads makes the reply larger than the limit, not the store.
            std::string large = batch(1, "big");
            large.insert(large.size() - 1, R"(,"padding":")" + std::string(2 << 20, 'p') + "\"");
            IncomingMessages::store(large);
            bool stored = settled() && rows("UserMessageQuery") == 1 && waiting() == 0;
            bool saidOnce = logged("file-size limit") == 1 && logged("holding it in memory") == 1;
            std::_Exit(full && stored && saidOnce ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

// Kept by an earlier version, named by the wall clock of their arrival: a clock set back since makes them look
// newer than a reply kept now.
TEST_F(IncomingMessagesTest, TheAsideFolderKeepsUnderItsCapInTheOrderItKeptRepliesNeverRemovingTheNewOne)
{
    const uintmax_t third = core::MessageSpool::AsideCapBytes / 3 + 1;
    std::filesystem::create_directories(core::MessageSpool::asideFolder());
    const std::string earlier[]
        = { "90000000000000000001-1-1.reply", "90000000000000000002-1-1.reply", "90000000000000000003-1-1.reply" };
    for (const std::string& name : earlier) {
        std::ofstream(core::MessageSpool::asideFolder() / name).close();
        std::filesystem::resize_file(core::MessageSpool::asideFolder() / name, third); // sparse: no disk taken
    }
    auto names = [] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(core::MessageSpool::asideFolder()))
            if (entry.path().extension() == core::MessageSpool::ReplyExtension)
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };

    IncomingMessages::store(R"({"d":[7]})");
    ASSERT_TRUE(settled());
    auto kept = names();
    ASSERT_EQ(kept.size(), 3u) << "the reply kept longest went";
    EXPECT_TRUE(kept[0].starts_with("000000000001-")) << "numbered in the order kept: " << kept[0];
    EXPECT_EQ(kept[1], earlier[1]);
    EXPECT_EQ(kept[2], earlier[2]);
    EXPECT_TRUE(quiet.contains("removed the reply kept there longest"));

    // A reply holding messages, cut off: its messages are stored, and only the cut message is kept; replies
    // without a message list are not kept at all, so they cannot push out what is.
    currentDeviceType(36);
    const std::string cut = batch(3, "full");
    IncomingMessages::store(cut.substr(0, cut.size() - 10));
    for (int i = 0; i < 3; ++i)
        IncomingMessages::store(R"({"d":{"Message":")" + std::string(1 << 20, 'x') + R"("}})");
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserMessageQuery"), 2);
    kept = names();
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_TRUE(kept[0].starts_with("000000000001-"));
    EXPECT_TRUE(kept[1].starts_with("000000000002-"));
    EXPECT_EQ(kept[2], earlier[1]);
    EXPECT_EQ(kept[3], earlier[2]);
}

// Two watches on one account: a voice message goes where its own sender's type is shown, whichever device is
// current; a sender the account's device list does not know goes by the current type.
TEST_F(IncomingMessagesTest, AVoiceMessageIsPlacedBySendersTypeWhereTheDeviceListKnowsIt)
{
    auto listed = [](const char* serialNumber, int64_t type) {
        auto device = std::make_shared<core::MobileDeviceAndLocation>();
        device->serialNumber = serialNumber;
        device->deviceTypeID = type;
        return device;
    };
    core::AccountDevices::remember({ listed("LW3600000001", 36), listed("LW2700000001", 27) });
    struct Sender {
        const char* serialNumber;
        std::optional<bool> toChat; // by the current type when not listed
    };
    for (int64_t current : { int64_t(36), IncomingMessages::VoiceInMessageCentreType }) {
        SCOPED_TRACE(current);
        currentDeviceType(current);
        std::string messages;
        const Sender senders[] = { { "LW3600000001", true }, { "LW2700000001", false }, { "LW9900000001", {} } };
        for (const Sender& sender : senders) {
            messages += std::string(messages.empty() ? "" : ",") + R"({"_id":")" + sender.serialNumber
                + std::to_string(current) + R"(","Desc":")" + core::ServiceProtocol::VoiceMarker + R"(","From":")"
                + sender.serialNumber + R"(","To":"ann","MsgType":3})";
        }
        IncomingMessages::store(R"({"d":[)" + messages + "]}");
        ASSERT_TRUE(settled());
        for (const Sender& sender : senders) {
            bool toChat = sender.toChat.value_or(current != IncomingMessages::VoiceInMessageCentreType);
            auto inChat = core::DBManager::selectUserChatQueryByUserName("ann", "ann", sender.serialNumber);
            auto inMessages = core::DBManager::selectUserMessageQueryByUserName("ann", "ann", sender.serialNumber);
            EXPECT_EQ(inChat.size(), toChat ? 1u : 0u) << sender.serialNumber;
            EXPECT_EQ(inMessages.size(), toChat ? 0u : 1u) << sender.serialNumber;
        }
        ASSERT_TRUE(core::DBManager::deleteMessagesOfAccount("ann", ""));
    }
}

TEST_F(IncomingMessagesTest, AReplyKeepsThePlacingRuleAndAccountOfItsArrival)
{
    currentDeviceType(IncomingMessages::VoiceInMessageCentreType);
    IncomingMessages::store(reply());
    currentDeviceType(36); // changed before the store has run: the reply keeps the rule it came under
    base::UserDefaults::standard().setObject(base::Value("bob"), core::SettingsKeys::LoginName2);
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserChatQuery"), 0);
    EXPECT_EQ(rows("UserMessageQuery"), 2);
    ASSERT_EQ(announced.size(), 2u);
    EXPECT_EQ(announced[1]->userName, "ann");
}

TEST_F(IncomingMessagesTest, AnOldSpoolFileLeftByAnEarlierRunIsStoredAtLaunchInItsPlace)
{
    ASSERT_TRUE(base::Files::writeAtomically(core::MessageSpool::oldFile(),
        R"([{"place":"chat","id":"v9","userName":"ann","from":"LW3600000001","to":"ann","msgType":5,)"
        R"("createTime":1700000000}])"));

    IncomingMessages::storeSpooled();
    ASSERT_TRUE(settled());
    EXPECT_EQ(rows("UserChatQuery"), 1);
    EXPECT_EQ(rows("UserMessageQuery"), 0);
    auto chat = core::DBManager::selectUserChatQueryByUserName("ann", "LW3600000001", "ann");
    ASSERT_EQ(chat.size(), 1u);
    EXPECT_EQ(chat[0]->msgType, 5);
    EXPECT_EQ(chat[0]->createTime, base::Date::fromTimeIntervalSince1970(1700000000));
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(core::MessageSpool::oldFile()));
}

TEST_F(IncomingMessagesTest, AnOldSpoolFileThatDoesNotReadIsKeptAside)
{
    ASSERT_TRUE(base::Files::writeAtomically(core::MessageSpool::oldFile(), "not a spool"));
    EXPECT_TRUE(core::MessageSpool::oldMessages().empty());
    auto aside = core::MessageSpool::oldFile();
    aside += ".corrupt-1";
    EXPECT_EQ(base::Files::read(aside), "not a spool");
    std::filesystem::remove(aside);
}

TEST_F(IncomingMessagesTest, ASpooledReplyWhoseFirstLineDoesNotReadIsKeptAside)
{
    ASSERT_TRUE(base::Files::writeAtomically(core::MessageSpool::folder() / "1-1-1.reply", "garbled\n{\"d\":[]}"));
    EXPECT_TRUE(core::MessageSpool::replies().empty());
    auto aside = keptAside();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(aside[0].first, "garbled\n{\"d\":[]}");
}

TEST_F(IncomingMessagesTest, EveryAccountNameSurvivesTheSpoolAndTheEarlierFirstLineStillReads)
{
    currentDeviceType(36);
    const std::string names[] = { "ann", std::string("a\0b", 3), "x\xEF\xBF\xBFy", "\xEF\xB7\x90", "50% off/=\"\\" };
    for (size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(i);
        base::UserDefaults::standard().setObject(base::Value(names[i]), core::SettingsKeys::LoginName2);
        IncomingMessages::store(batch(1, "name" + std::to_string(i)));
        ASSERT_TRUE(settled());
        ASSERT_EQ(announced.size(), i + 1) << "stored, not kept aside";
        EXPECT_EQ(announced[i]->userName, names[i]);
    }
    EXPECT_TRUE(keptAside().empty());

    ASSERT_TRUE(base::Files::writeAtomically(
        core::MessageSpool::folder() / "1-1-1.reply", "{\"account\":\"bob\",\"voiceToChat\":false}\n{\"d\":[]}"));
    auto replies = core::MessageSpool::replies();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].context.account, "bob");
    EXPECT_FALSE(replies[0].context.voiceToChat);
    EXPECT_TRUE(replies[0].body.empty()) << "left in the file";
    auto body = core::FileText::open(replies[0].file, replies[0].bodyOffset);
    ASSERT_TRUE(body.has_value());
    EXPECT_EQ(body->substr(0), "{\"d\":[]}");
}

// A message's fields in one text.
std::string fields(const core::UserMessageQuery& m)
{
    auto text = [](const std::optional<std::string>& value) { return value ? "\"" + *value + "\"" : "-"; };
    return text(m.id_) + text(m.userName) + text(m.context) + text(m.desc) + text(m.from) + text(m.to)
        + text(m.fromIconName) + text(m.toIconName) + (m.msgType ? std::to_string(*m.msgType) : "-") + text(m.url)
        + (m.createTime ? std::to_string(m.createTime->timeIntervalSince1970()) : "-");
}

// Many more messages than one batch of the transaction, of every shape, with elements that do not read among
// them, messages given twice, messages without an id or without anything to show, and a cut at the end.
std::string largeMixedReply()
{
    std::string reply = R"({"d":[)";
    for (size_t i = 0; i < 2600; ++i) {
        reply += i ? "," : "";
        std::string n = std::to_string(i);
        if (i % 700 == 13)
            reply += "7";
        else if (i % 900 == 5)
            reply += R"({"_id":"bad)" + n + R"(","Context":"hi","MsgType":1e999999})";
        else if (i % 400 == 7)
            reply += R"({"_id":"n)" + std::to_string(i - 1) + R"(","Context":"again"})";
        else if (i % 300 == 2)
            reply += R"({"Desc":"","Context":"no id )" + n + R"("})";
        else if (i % 500 == 3)
            reply += R"({"_id":"empty)" + n + R"(","From":"LW36"})";
        else if (i % 2)
            reply += R"({"_id":"n)" + n + R"(","Desc":")" + core::ServiceProtocol::VoiceMarker + R"(","Context":"v)" + n
                + R"(.amr","From":"LW3600000001","To":"ann","MsgType":5,"CreateTime":"2026/12/07 10:00:00"})";
        else
            reply += R"({"_id":"n)" + n + R"(","Desc":"","Context":"text \u4e2d )" + n
                + R"(","From":"ann","To":"LW3600000002","FromIconName":"a.png","Url":"http://h/)" + n + R"("})";
    }
    return reply + R"(,{"_id":"cut","Context":"the kil)";
}

TEST_F(IncomingMessagesTest, ALargeReplyIsStoredFromItsFileAsTheWholeReplyReadInMemoryGivesIt)
{
    const std::string reply = largeMixedReply();
    auto file = core::MessageSpool::add(reply, { "ann", true });
    ASSERT_FALSE(file.empty());
    auto waitingReplies = core::MessageSpool::replies();
    ASSERT_EQ(waitingReplies.size(), 1u);
    EXPECT_TRUE(waitingReplies[0].body.empty()) << "the reply is read from its file as it is stored, not whole";

    // What the reply read whole in memory gives, placed as the store places it.
    core::MessageList whole = core::readMessageList(reply);
    std::vector<std::string> expected;
    std::set<std::string> ids;
    for (size_t i = 0; i < whole.messages.size(); ++i) {
        auto& message = *whole.messages[i];
        if (!message.context && !message.desc && !message.url)
            continue;
        if (!message.id_)
            message.id_ = file.stem().string() + "#" + std::to_string(whole.positions[i]);
        message.userName = "ann";
        bool chat = message.desc == core::ServiceProtocol::VoiceMarker;
        expected.push_back((chat ? "chat " : "centre ") + fields(message));
        ids.insert(*message.id_);
    }
    ASSERT_GT(expected.size(), 2000u);
    ASSERT_GT(whole.unreadable.size(), 3u);

    std::vector<std::string> stages;
    std::vector<core::SpooledReply> held;
    auto outcome = core::storeWaitingReplies(held, [&](core::StoringStage stage) {
        stages.push_back(std::string(stage == core::StoringStage::Read ? "read" : "committed")
            + (std::filesystem::exists(file) ? ", in the spool" : ", gone"));
    });
    ASSERT_TRUE(outcome.stored);
    EXPECT_EQ(stages, (std::vector<std::string> { "read, in the spool", "committed, in the spool" }))
        << "the reply leaves the spool only after the commit";
    EXPECT_FALSE(std::filesystem::exists(file));
    std::vector<std::string> announcedFields;
    outcome.messages.forEach([&](const core::PendingMessage& pending) {
        announcedFields.push_back(
            (pending.place == core::PendingMessage::Place::Chat ? "chat " : "centre ") + fields(*pending.message));
    });
    EXPECT_EQ(announcedFields, expected) << "every message, field by field, in reply order, given twice too";
    EXPECT_EQ(rows("UserChatQuery") + rows("UserMessageQuery"), static_cast<int>(ids.size()));

    std::string parts;
    std::string reasons;
    for (const auto& part : whole.unreadable) {
        parts += (parts.empty() ? "" : "\n") + part.bytes;
        reasons += (reasons.empty() ? "" : "\n") + part.why + " (bytes " + std::to_string(part.offset) + " to "
            + std::to_string(part.offset + part.bytes.size()) + ")";
    }
    auto aside = keptAside();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(aside[0].first.ends_with("\n" + parts));
    EXPECT_EQ(aside[0].second, reasons + "\n");
}

} // namespace
