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

    // What the next launch does, then whether every message (of the first `whole`) is stored once and nothing
    // waits.
    void expectAllStoredAtNextLaunch(size_t whole = Messages)
    {
        ASSERT_TRUE(core::DBManager::createTables());
        core::IncomingMessages::storeSpooled();
        ASSERT_TRUE(base::RunLoop::main().runUntil([] { return core::IncomingMessages::storesInFlight() == 0; }, 30s));
        auto db = database::Database::databaseWithPath(core::DBManager::databasePath().string());
        ASSERT_TRUE(db->open());
        EXPECT_EQ(database::intForQuery(*db, "select count(*) from UserMessageQuery"), static_cast<int>(whole));
        EXPECT_EQ(
            database::intForQuery(*db, "select count(distinct id_) from UserMessageQuery"), static_cast<int>(whole));
        EXPECT_EQ(database::intForQuery(*db, "select count(*) from UserMessageList"), whole ? 1 : 0)
            << "one conversation";
        EXPECT_TRUE(db->close());
        EXPECT_TRUE(core::MessageSpool::replies().empty());
        EXPECT_EQ(m_announced, whole);
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
        { "read from the spool into the transaction, before the commit",
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

// The messages whole in the first `bytes` of a spooled reply's file (its first line, then the reply).
size_t wholeIn(uintmax_t bytes)
{
    std::string body = reply();
    size_t firstLine = std::filesystem::file_size(core::MessageSpool::add(body, arrival)) - body.size();
    std::filesystem::remove_all(core::MessageSpool::folder());
    std::string kept = body.substr(0, bytes > firstLine ? bytes - firstLine : 0);
    return std::min<size_t>(std::count(kept.begin(), kept.end(), '}'), Messages);
}

// The aside folder's replies, by name.
std::vector<std::string> keptAside()
{
    std::vector<std::string> aside;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(core::MessageSpool::asideFolder(), error))
        if (entry.path().extension() == core::MessageSpool::ReplyExtension)
            aside.push_back(base::Files::read(entry.path()).value_or(""));
    return aside;
}

TEST_F(KilledWhileStoring, EveryWholeMessageOfAReplyCutOffByTheKillIsStoredOnceAndOnlyTheCutOneKeptAside)
{
    const uintmax_t cuts[] = { 10, 44, 60, 2000, 2001, 15000, 29000 };
    for (uintmax_t cut : cuts) {
        SCOPED_TRACE(cut);
        const size_t whole = wholeIn(cut);
        std::filesystem::remove_all(core::DBManager::databasePath());
        m_announced = 0;
        ASSERT_TRUE(killedBy([cut] {
            (void)leftInATemporaryFile(cut);
            kill();
        }));
        expectAllStoredAtNextLaunch(whole);
        auto aside = keptAside();
        EXPECT_LE(aside.size(), 1u);
        for (const std::string& part : aside)
            EXPECT_LT(part.size(), 150u) << "only the message the kill cut, after the first line";
        std::filesystem::remove_all(core::MessageSpool::folder());

        // Killed once its whole messages are committed, before the reply left the spool: they are not stored
        // twice.
        std::filesystem::remove_all(core::DBManager::databasePath());
        std::filesystem::remove_all(core::MessageSpool::folder());
        m_announced = 0;
        ASSERT_TRUE(killedBy([cut] {
            (void)leftInATemporaryFile(cut);
            core::MessageSpool::recoverInterruptedWrites();
            storeKillingAt(StoringStage::Committed);
        }));
        expectAllStoredAtNextLaunch(whole);
        std::filesystem::remove_all(core::MessageSpool::folder());
    }
}

TEST_F(KilledWhileStoring, ATemporaryFileIsTakenBackOnceItsWriterHasEndedWhateverItsProcessId)
{
    // Named with this launch's own process id, as a run that always gets the same id leaves it: no writer holds it.
    (void)leftInATemporaryFile(SIZE_MAX);
    // Being written now: its writer holds it.
    auto writing = core::MessageSpool::beginReply(arrival);
    ASSERT_TRUE(writing && writing->append(R"({"d":[{"_id":"w1","Context":"on its way"})"));

    expectAllStoredAtNextLaunch();
    EXPECT_TRUE(std::filesystem::exists(writing->temporaryPath())) << "a write under way is left alone";
    EXPECT_TRUE(keptAside().empty());
    ASSERT_TRUE(writing->append("]}"));
    EXPECT_FALSE(writing->finish().empty());
    EXPECT_EQ(core::MessageSpool::replies().size(), 1u);
}

} // namespace
