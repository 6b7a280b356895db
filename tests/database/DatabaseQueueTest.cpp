#include "DatabaseTestSupport.h"

#include "database/DatabaseAdditions.h"
#include "database/DatabaseQueue.h"

#include <thread>

using database::Database;
using database::DatabaseQueue;
using test::DatabaseFileTest;

namespace {

std::shared_ptr<DatabaseQueue> queueWithTable(std::optional<std::string> path)
{
    auto queue = DatabaseQueue::databaseQueueWithPath(std::move(path));
    EXPECT_TRUE(queue);
    queue->inDatabase([](const std::shared_ptr<Database>& db) {
        db->setTraceExecution(false);
        EXPECT_TRUE(db->executeUpdate("create table t (a)"));
    });
    return queue;
}

int rowCount(DatabaseQueue& queue)
{
    int count = -1;
    queue.inDatabase(
        [&](const std::shared_ptr<Database>& db) { count = database::intForQuery(*db, "select count(*) from t"); });
    return count;
}

} // namespace

TEST_F(DatabaseFileTest, QueueTransactionRolledBackOnRequestLeavesTheFile)
{
    auto queue = queueWithTable(path());
    EXPECT_TRUE(queue->inTransaction([](const std::shared_ptr<Database>& db, bool&) {
        EXPECT_TRUE(db->executeUpdate("insert into t values (1)"));
    }));
    EXPECT_FALSE(queue->inDeferredTransaction([](const std::shared_ptr<Database>& db, bool& rollback) {
        EXPECT_TRUE(db->executeUpdate("insert into t values (2)"));
        rollback = true;
    }));
    EXPECT_EQ(rowCount(*queue), 1);
}

TEST_F(DatabaseFileTest, QueueReopensAfterClose)
{
    auto queue = queueWithTable(path());
    queue->close();
    base::Log::ScopedCapture trace;
    EXPECT_EQ(rowCount(*queue), 0);
    queue->inDatabase([](const std::shared_ptr<Database>& db) { EXPECT_TRUE(db->goodConnection()); });
}

TEST_F(DatabaseFileTest, QueueWillNotOpenAMissingFolder)
{
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(DatabaseQueue::databaseQueueWithPath(path() + "/missing/file.sqlite"));
    EXPECT_TRUE(capture.contains("Could not create database queue for path "));
}

TEST_F(DatabaseFileTest, QueueDoesNotRunTheBlockWhenBeginFails)
{
    auto queue = queueWithTable(path());
    queue->inDatabase([](const std::shared_ptr<Database>& db) { db->setBusyRetryTimeout(1); });
    test::OtherConnection other(path());
    ASSERT_EQ(other.run("begin exclusive"), SQLITE_OK);
    base::Log::ScopedCapture capture;
    bool ran = false;
    EXPECT_FALSE(queue->inTransaction([&](const std::shared_ptr<Database>&, bool&) { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(capture.contains("DatabaseQueue: could not begin a transaction"));
    ASSERT_EQ(other.run("commit"), SQLITE_OK);
}

TEST(DatabaseQueue, FailedCommitIsRolledBackAndReported)
{
    auto queue = queueWithTable(std::nullopt);
    queue->inDatabase([](const std::shared_ptr<Database>& db) {
        EXPECT_TRUE(db->executeUpdate("pragma foreign_keys = on"));
        EXPECT_TRUE(db->executeUpdate("create table parent (id integer primary key)"));
        EXPECT_TRUE(
            db->executeUpdate("create table child (parent references parent(id) deferrable initially deferred)"));
    });
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(queue->inTransaction([](const std::shared_ptr<Database>& db, bool&) {
        EXPECT_TRUE(db->executeUpdate("insert into t values (1)"));
        EXPECT_TRUE(db->executeUpdate("insert into child values (42)"));
    }));
    EXPECT_TRUE(capture.contains(
        "DatabaseQueue: could not commit the transaction (FOREIGN KEY constraint failed); rolled back"));
    EXPECT_EQ(rowCount(*queue), 0);
    queue->inDatabase([](const std::shared_ptr<Database>& db) { EXPECT_FALSE(db->inTransaction()); });
}

TEST(DatabaseQueue, CallFromInsideItsOwnBlockIsRefusedAtOnce)
{
    auto queue = queueWithTable(std::nullopt);
    base::Log::ScopedCapture capture;
    bool innerRan = false;
    std::optional<base::Error> innerError;
    queue->inDatabase([&](const std::shared_ptr<Database>&) {
        queue->inDatabase([&](const std::shared_ptr<Database>&) { innerRan = true; });
        innerError = queue->inSavePoint([&](const std::shared_ptr<Database>&, bool&) { innerRan = true; });
    });
    EXPECT_FALSE(innerRan);
    EXPECT_TRUE(innerError);
    EXPECT_TRUE(capture.contains("DatabaseQueue::inDatabase called from inside a block of the same queue"));
}

TEST(DatabaseQueue, SavePointRollsBackTheBlock)
{
    auto queue = queueWithTable(std::nullopt);
    auto error = queue->inSavePoint([](const std::shared_ptr<Database>& db, bool& rollback) {
        EXPECT_TRUE(db->executeUpdate("insert into t values (1)"));
        rollback = true;
    });
    EXPECT_FALSE(error);
    EXPECT_EQ(rowCount(*queue), 0);
}

TEST(DatabaseQueue, WarnsAboutResultSetsLeftOpen)
{
    auto queue = queueWithTable(std::nullopt);
    std::shared_ptr<database::ResultSet> leftOpen;
    base::Log::ScopedCapture capture;
    queue->inDatabase([&](const std::shared_ptr<Database>& db) { leftOpen = db->executeQuery("select * from t"); });
    EXPECT_TRUE(capture.contains(
        "Warning: there is at least one open result set around after performing [DatabaseQueue inDatabase:]"));
}

TEST(DatabaseQueue, WorkFromManyThreadsRunsOneAfterAnother)
{
    auto queue = queueWithTable(std::nullopt);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&queue, t] {
            for (int i = 0; i < 25; ++i)
                queue->inDatabase([&](const std::shared_ptr<Database>& db) {
                    EXPECT_TRUE(db->executeUpdate("insert into t values (?)", t * 100 + i));
                });
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(rowCount(*queue), 100);
}
