#include "DatabaseTestSupport.h"

#include "database/DatabaseAdditions.h"

namespace {

std::shared_ptr<database::Database> databaseWithTable()
{
    auto db = test::openQuietly(std::nullopt);
    EXPECT_TRUE(db->executeUpdate("create table t (a)"));
    return db;
}

int rowCount(database::Database& db) { return database::intForQuery(db, "select count(*) from t"); }

} // namespace

TEST(Transactions, CommitKeepsAndRollbackDiscards)
{
    auto db = databaseWithTable();
    ASSERT_TRUE(db->beginTransaction());
    EXPECT_TRUE(db->inTransaction());
    ASSERT_TRUE(db->executeUpdate("insert into t values (1)"));
    ASSERT_TRUE(db->rollback());
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(rowCount(*db), 0);

    ASSERT_TRUE(db->beginDeferredTransaction());
    ASSERT_TRUE(db->executeUpdate("insert into t values (1)"));
    ASSERT_TRUE(db->commit());
    EXPECT_EQ(rowCount(*db), 1);
}

TEST(Transactions, FailedBeginLeavesTheFlag)
{
    auto db = databaseWithTable();
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(db->commit());
    EXPECT_FALSE(db->inTransaction());
    ASSERT_TRUE(db->beginTransaction());
    EXPECT_FALSE(db->beginTransaction());
    EXPECT_TRUE(db->inTransaction());
}

TEST(SavePoints, RollbackUndoesTheBlockAndEndsTheSavePoint)
{
    auto db = databaseWithTable();
    auto error = db->inSavePoint([&](bool& rollback) {
        EXPECT_TRUE(db->executeUpdate("insert into t values (1)"));
        rollback = true;
    });
    EXPECT_FALSE(error);
    EXPECT_EQ(rowCount(*db), 0);
    EXPECT_TRUE(sqlite3_get_autocommit(db->sqliteHandle())) << "no transaction stays open after the block";

    error = db->inSavePoint([&](bool&) { EXPECT_TRUE(db->executeUpdate("insert into t values (2)")); });
    EXPECT_FALSE(error);
    EXPECT_EQ(rowCount(*db), 1);
    EXPECT_TRUE(sqlite3_get_autocommit(db->sqliteHandle()));
}

TEST(SavePoints, NestedSavePointRollsBackOnlyItsOwnWork)
{
    auto db = databaseWithTable();
    auto error = db->inSavePoint([&](bool&) {
        EXPECT_TRUE(db->executeUpdate("insert into t values (1)"));
        EXPECT_FALSE(db->inSavePoint([&](bool& rollback) {
            EXPECT_TRUE(db->executeUpdate("insert into t values (2)"));
            rollback = true;
        }));
    });
    EXPECT_FALSE(error);
    EXPECT_EQ(database::intForQuery(*db, "select sum(a) from t"), 1);
}

TEST(SavePoints, NamesAreQuotedAndFailuresReported)
{
    auto db = databaseWithTable();
    base::Log::ScopedCapture capture;
    const std::string name = "it's \"odd\"; drop table t";
    base::Error error;
    ASSERT_TRUE(db->startSavePointWithName(name, &error));
    ASSERT_TRUE(db->executeUpdate("insert into t values (1)"));
    ASSERT_TRUE(db->rollbackToSavePointWithName(name, &error));
    ASSERT_TRUE(db->releaseSavePointWithName(name, &error));
    EXPECT_TRUE(database::tableExists(*db, "t"));
    EXPECT_EQ(rowCount(*db), 0);

    EXPECT_FALSE(db->releaseSavePointWithName("never", &error));
    EXPECT_EQ(error.domain(), "Database");
    EXPECT_EQ(error.localizedDescription(), "no such savepoint: never");
}
