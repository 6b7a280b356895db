#include "DatabaseTestSupport.h"

#include "base/values/Exception.h"
#include "database/DatabaseAdditions.h"
#include "database/DatabasePool.h"

#include <thread>

using database::Database;
using database::DatabasePool;
using test::DatabaseFileTest;

namespace {

class Veto : public database::DatabasePoolDelegate {
public:
    bool shouldAddDatabaseToPool(DatabasePool&, const std::shared_ptr<Database>&) override { return accept; }
    bool accept { true };
};

} // namespace

TEST_F(DatabaseFileTest, PoolStopsAtItsLimitUntilADatabaseComesBack)
{
    auto pool = DatabasePool::databasePoolWithPath(path());
    pool->setMaximumNumberOfDatabasesToCreate(2);
    auto first = pool->db();
    auto second = pool->db();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    base::Log::ScopedCapture capture;
    EXPECT_EQ(pool->db(), nullptr);
    EXPECT_TRUE(capture.contains("Maximum number of databases (2) has already been reached!"));
    pool->pushDatabaseBackInPool(first);
    EXPECT_EQ(pool->countOfCheckedInDatabases(), 1u);
    EXPECT_EQ(pool->countOfCheckedOutDatabases(), 1u);
    EXPECT_EQ(pool->db(), first);
}

TEST_F(DatabaseFileTest, PoolHandsOutTheLastReturnedDatabaseFirst)
{
    auto pool = DatabasePool::databasePoolWithPath(path());
    auto first = pool->db();
    auto second = pool->db();
    pool->pushDatabaseBackInPool(first);
    pool->pushDatabaseBackInPool(second);
    EXPECT_EQ(pool->db(), second);
    EXPECT_EQ(pool->db(), first);
    EXPECT_EQ(pool->countOfOpenDatabases(), 2u);
    pool->releaseAllDatabases();
    EXPECT_EQ(pool->countOfOpenDatabases(), 0u);
}

TEST_F(DatabaseFileTest, PoolRefusesADatabaseReturnedTwice)
{
    auto pool = DatabasePool::databasePoolWithPath(path());
    auto db = pool->db();
    pool->pushDatabaseBackInPool(db);
    try {
        pool->pushDatabaseBackInPool(db);
        FAIL() << "no exception";
    } catch (const base::Exception& exception) {
        EXPECT_EQ(exception.name(), "Database already in pool");
        EXPECT_EQ(exception.reason(), "The Database being put back into the pool is already present in the pool");
    }
    EXPECT_EQ(pool->countOfCheckedInDatabases(), 1u);
}

TEST_F(DatabaseFileTest, PoolVetoDropsTheDatabaseFromBothLists)
{
    auto pool = DatabasePool::databasePoolWithPath(path());
    auto veto = std::make_shared<Veto>();
    pool->setDelegate(veto);
    pool->pushDatabaseBackInPool(pool->db());
    veto->accept = false;
    EXPECT_EQ(pool->db(), nullptr);
    EXPECT_EQ(pool->countOfOpenDatabases(), 0u);
    veto.reset();
    EXPECT_TRUE(pool->db()) << "a delegate that has gone is not asked";
}

TEST_F(DatabaseFileTest, PoolFailureToOpenIsCountedNowhere)
{
    auto pool = DatabasePool::databasePoolWithPath(path() + "/missing/file.sqlite");
    base::Log::ScopedCapture capture;
    EXPECT_EQ(pool->db(), nullptr);
    EXPECT_TRUE(capture.contains("Could not open up the database at path "));
    EXPECT_EQ(pool->countOfOpenDatabases(), 0u);
    EXPECT_TRUE(pool->inSavePoint([](const std::shared_ptr<Database>&, bool&) {}))
        << "no database is an error, not success";
}

TEST_F(DatabaseFileTest, PoolTransactionsAndSavePoints)
{
    auto pool = DatabasePool::databasePoolWithPath(path());
    pool->inDatabase([](const std::shared_ptr<Database>& db) {
        db->setTraceExecution(false);
        EXPECT_TRUE(db->executeUpdate("create table t (a)"));
    });
    EXPECT_TRUE(pool->inTransaction([](const std::shared_ptr<Database>& db, bool&) {
        EXPECT_TRUE(db->executeUpdate("insert into t values (1)"));
    }));
    EXPECT_FALSE(pool->inDeferredTransaction([](const std::shared_ptr<Database>& db, bool& rollback) {
        EXPECT_TRUE(db->executeUpdate("insert into t values (2)"));
        rollback = true;
    }));
    EXPECT_FALSE(pool->inSavePoint([](const std::shared_ptr<Database>& db, bool& rollback) {
        EXPECT_TRUE(db->executeUpdate("insert into t values (3)"));
        rollback = true;
    }));
    int count = -1;
    pool->inDatabase(
        [&](const std::shared_ptr<Database>& db) { count = database::intForQuery(*db, "select count(*) from t"); });
    EXPECT_EQ(count, 1);
    EXPECT_EQ(pool->countOfCheckedOutDatabases(), 0u);
}

TEST_F(DatabaseFileTest, PoolServesSeveralThreadsAtOnce)
{
    auto pool = DatabasePool::databasePoolWithPath(path());
    pool->inDatabase([](const std::shared_ptr<Database>& db) { EXPECT_TRUE(db->executeUpdate("create table t (a)")); });
    base::Log::ScopedCapture quiet;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&pool, t] {
            for (int i = 0; i < 10; ++i)
                pool->inDatabase([&](const std::shared_ptr<Database>& db) {
                    // The writers take turns, each commit waiting for the disk; on a disk shared with other
                    // work a turn can outlast the default two seconds, which is not what this test checks.
                    db->setBusyRetryTimeout(1'000'000);
                    EXPECT_TRUE(db->executeUpdate("insert into t values (?)", t * 100 + i));
                });
        });
    for (auto& thread : threads)
        thread.join();
    int count = -1;
    pool->inDatabase(
        [&](const std::shared_ptr<Database>& db) { count = database::intForQuery(*db, "select count(*) from t"); });
    EXPECT_EQ(count, 40);
    EXPECT_EQ(pool->countOfCheckedOutDatabases(), 0u);
    EXPECT_LE(pool->countOfCheckedInDatabases(), 4u);
}
