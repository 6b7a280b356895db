// A process killed (SIGKILL) at each stage of keeping a poll's reply loses none of its messages and stores none
// twice, those without an id included: the next launch stores what the spool still holds, a reply left in a
// temporary file too. The stages run in a forked child, on a thread of its own (the child has no storing queue,
// and must not use the connection its parent's main thread keeps).
#include "base/ClockFixture.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Files.h"
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

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

using core::StoringStage;

constexpr size_t Messages = 300;

const core::ReplyContext arrival { "ann", true };

// Every tenth message has no id.
std::string reply()
{
    std::string text = R"({"d":[)";
    for (size_t i = 0; i < Messages; ++i)
        text += std::string(i ? "," : "") + "{" + (i % 10 ? R"("_id":"k)" + std::to_string(i) + R"(",)" : "")
            + R"("Desc":"","Context":"hi","From":"LW3600000001","To":"ann","MsgType":3})";
    return text + "]}";
}

// Writes the reply to the spool, then gives its file back the temporary name it had before the write's rename,
// with the bytes kept; the temporary path.
std::filesystem::path leftInATemporaryFile(size_t keptBytes)
{
    auto file = core::MessageSpool::add(reply(), arrival);
    auto temporary = file.parent_path() / (base::Files::temporaryPrefix(file) + "Ab3dE6");
    std::filesystem::rename(file, temporary);
    std::filesystem::resize_file(temporary, std::min<uintmax_t>(keptBytes, std::filesystem::file_size(temporary)));
    return temporary;
}

size_t filesIn(const std::filesystem::path& folder)
{
    std::error_code error;
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        count += entry.is_regular_file();
    return count;
}

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
        { "written whole, before the file took its name",
            [] {
                (void)leftInATemporaryFile(SIZE_MAX);
                kill();
            } },
    };
    for (const Stage& stage : stages) {
        SCOPED_TRACE(stage.name);
        std::filesystem::remove_all(core::DBManager::databasePath());
        std::filesystem::remove_all(core::MessageSpool::folder());
        m_announced = 0;
        ASSERT_TRUE(killedBy(stage.steps));
        EXPECT_EQ(filesIn(core::MessageSpool::folder()), 1u) << "the reply outlives the kill";
        expectAllStoredAtNextLaunch();
    }
}

TEST_F(KilledWhileStoring, AReplyCutOffByTheKillIsKeptAsideAndAWriteUnderWayIsLeftAlone)
{
    ASSERT_TRUE(killedBy([] {
        (void)leftInATemporaryFile(2000);
        kill();
    }));
    auto ours = leftInATemporaryFile(SIZE_MAX); // this process lives: its write may still be going on

    ASSERT_TRUE(core::DBManager::createTables());
    core::IncomingMessages::storeSpooled();
    ASSERT_TRUE(base::RunLoop::main().runUntil([] { return core::IncomingMessages::storesInFlight() == 0; }, 30s));
    EXPECT_EQ(m_announced, 0u);
    EXPECT_EQ(filesIn(core::MessageSpool::folder()), 1u);
    EXPECT_TRUE(std::filesystem::exists(ours));
    ASSERT_EQ(filesIn(core::MessageSpool::asideFolder()), 2u) << "the cut reply and why";
    for (const auto& entry : std::filesystem::directory_iterator(core::MessageSpool::asideFolder())) {
        auto bytes = base::Files::read(entry.path()).value_or("");
        if (entry.path().extension() == core::MessageSpool::ReplyExtension)
            EXPECT_EQ(bytes.size(), 2000u) << "kept as the kill left it";
        else
            EXPECT_EQ(bytes, "an interrupted write left it incomplete\n");
    }
}

} // namespace
