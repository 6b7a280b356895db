#include "DatabaseTestSupport.h"

#include "database/DatabaseAdditions.h"
#include "database/DatabasePool.h"

#include <thread>

using database::Database;
using database::DatabasePool;
using test::DatabaseFileTest;

namespace {

template <typename Work> void onAnotherThread(Work work) { std::thread(work).join(); }

} // namespace

using DatabaseThreadBindingDeathTest = DatabaseFileTest;

TEST_F(DatabaseThreadBindingDeathTest, AConnectionUsedFromASecondThreadFailsLoudly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto db = test::openQuietly(std::nullopt);
    EXPECT_DEATH(onAnotherThread([&] { (void)db->executeUpdate("create table t (a)"); }), "another thread");
}

TEST_F(DatabaseThreadBindingDeathTest, AResultSetReadFromASecondThreadFailsLoudly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto db = test::openQuietly(std::nullopt);
    auto rows = db->executeQuery("select 1");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_DEATH(onAnotherThread([&] { (void)rows->intForColumnIndex(0); }), "another thread");
}

TEST_F(DatabaseFileTest, APooledConnectionBelongsToEachThreadThatTakesIt)
{
    auto pool = DatabasePool::databasePoolWithPath(path());
    auto db = pool->db();
    ASSERT_TRUE(db && db->executeUpdate("create table t (a)"));
    pool->pushDatabaseBackInPool(db);
    onAnotherThread([&] {
        auto taken = pool->db();
        ASSERT_EQ(taken, db);
        EXPECT_TRUE(taken->executeUpdate("insert into t values (1)"));
        pool->pushDatabaseBackInPool(taken);
    });
    EXPECT_EQ(database::intForQuery(*pool->db(), "select count(*) from t"), 1);
}

TEST(DatabaseThreadBinding, TheLastHoldMayBeDroppedOnAnotherThread)
{
    auto db = test::openQuietly(std::nullopt);
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    onAnotherThread([moved = std::move(db)]() mutable { moved.reset(); });
}
