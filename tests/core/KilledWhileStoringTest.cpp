// A process killed (SIGKILL) at each stage of keeping a poll's reply loses none of its messages and stores none
// twice: the next launch stores what the spool still holds. The stages run in a forked child, on a thread of
// its own (the child has no storing queue, and must not use the connection its parent's main thread keeps).
#include "base/ClockFixture.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "core/messages/DBManager.h"
#include "core/messages/IncomingMessages.h"
#include "core/messages/MessageSpool.h"
#include "core/messages/WaitingReplies.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "database/Database.h"
#include "database/DatabaseAdditions.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

using core::StoringStage;

constexpr size_t Messages = 300;

std::string reply()
{
    std::string text = R"({"d":[)";
    for (size_t i = 0; i < Messages; ++i)
        text += std::string(i ? "," : "") + R"({"_id":"k)" + std::to_string(i)
            + R"(","Desc":"","Context":"hi","From":"LW3600000001","To":"ann","MsgType":3})";
    return text + "]}";
}

const core::ReplyContext arrival { "ann", true };

// Runs the steps in a child process; whether the child was killed by them (they end in a SIGKILL of itself).
bool killedBy(const std::function<void()>& steps)
{
    pid_t child = ::fork();
    if (child == 0) {
        std::thread(steps).join();
        ::_exit(0); // the steps never reached their kill
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

[[noreturn]] void kill()
{
    std::raise(SIGKILL);
    std::abort();
}

class KilledWhileStoring : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        test::ManualClockTest::SetUp();
        // A data root of its own: the main thread's kept connection belongs to another file.
        m_previousRoot = std::getenv("LUMET_HOME");
        m_root = std::filesystem::path(m_previousRoot) / "killed";
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root);
        setenv("LUMET_HOME", m_root.c_str(), 1);
        base::UserDefaults::standard().setObject(base::Value("ann"), core::SettingsKeys::LoginName2);
        base::NotificationCenter::defaultCenter().addObserver(
            core::NotificationNames::ReceiveRemoteNotification, nullptr,
            [this](const base::Notification&) { ++m_announced; }, this);
    }
    void TearDown() override
    {
        base::NotificationCenter::defaultCenter().removeObservers(this);
        base::UserDefaults::standard().removeObjectForKey(core::SettingsKeys::LoginName2);
        setenv("LUMET_HOME", m_previousRoot.c_str(), 1);
        std::filesystem::remove_all(m_root);
        test::ManualClockTest::TearDown();
    }

    // What the next launch does, then whether every message is stored once and nothing waits.
    void expectAllStoredAtNextLaunch()
    {
        ASSERT_TRUE(core::DBManager::createTables());
        core::IncomingMessages::storeSpooled();
        ASSERT_TRUE(base::RunLoop::main().runUntil([] { return core::IncomingMessages::storesInFlight() == 0; }, 30s));
        auto db = database::Database::databaseWithPath(core::DBManager::databasePath().string());
        ASSERT_TRUE(db->open());
        EXPECT_EQ(database::intForQuery(*db, "select count(*) from UserMessageQuery"), static_cast<int>(Messages));
        EXPECT_EQ(
            database::intForQuery(*db, "select count(distinct id_) from UserMessageQuery"), static_cast<int>(Messages));
        EXPECT_EQ(database::intForQuery(*db, "select count(*) from UserMessageList"), 1) << "one conversation";
        EXPECT_TRUE(db->close());
        EXPECT_TRUE(core::MessageSpool::replies().empty());
        EXPECT_EQ(m_announced, Messages);
    }

    static void storeKillingAt(StoringStage stage)
    {
        std::vector<core::SpooledReply> held;
        (void)core::storeWaitingReplies(held, [stage](StoringStage reached) {
            if (reached == stage)
                kill();
        });
    }

    size_t m_announced = 0;
    std::string m_previousRoot;
    std::filesystem::path m_root;
    base::Log::ScopedCapture m_quiet;
};

TEST_F(KilledWhileStoring, NothingIsLostOrStoredTwiceWhereverTheKillFalls)
{
    struct Stage {
        const char* name;
        std::function<void()> steps;
    };
    const Stage stages[] = {
        { "just written to the spool",
            [] {
                ASSERT_FALSE(core::MessageSpool::add(reply(), arrival).empty());
                kill();
            } },
        { "read from the spool, before the transaction",
            [] {
                ASSERT_FALSE(core::MessageSpool::add(reply(), arrival).empty());
                storeKillingAt(StoringStage::Read);
            } },
        { "in the middle of the transaction",
            [] {
                ASSERT_FALSE(core::MessageSpool::add(reply(), arrival).empty());
                ASSERT_TRUE(core::DBManager::saveIncomingMessages({})); // the tables
                auto db = database::Database::databaseWithPath(core::DBManager::databasePath().string());
                ASSERT_TRUE(db->open() && db->beginTransaction());
                for (int i = 0; i < 100; ++i)
                    ASSERT_TRUE(db->executeUpdate(
                        "insert into UserMessageQuery (id_, userName) values (?, 'ann')", "k" + std::to_string(i)));
                kill();
            } },
        { "committed, still in the spool",
            [] {
                ASSERT_FALSE(core::MessageSpool::add(reply(), arrival).empty());
                storeKillingAt(StoringStage::Committed);
            } },
    };
    for (const Stage& stage : stages) {
        SCOPED_TRACE(stage.name);
        std::filesystem::remove_all(core::DBManager::databasePath());
        std::filesystem::remove_all(core::MessageSpool::folder());
        m_announced = 0;
        ASSERT_TRUE(killedBy(stage.steps));
        EXPECT_EQ(core::MessageSpool::replies().size(), 1u) << "the reply outlives the kill";
        expectAllStoredAtNextLaunch();
    }
}

} // namespace
