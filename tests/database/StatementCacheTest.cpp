#include "DatabaseTestSupport.h"

#include "database/Statement.h"

#include <sqlite3.h>

namespace {

std::shared_ptr<database::Database> cachingDatabase()
{
    auto db = test::openQuietly(std::nullopt);
    db->setShouldCacheStatements(true);
    EXPECT_TRUE(db->executeUpdate("create table t (v)"));
    for (int v = 1; v <= 3; ++v)
        EXPECT_TRUE(db->executeUpdate("insert into t values (?)", v));
    return db;
}

} // namespace

TEST(StatementCache, ReusesOneStatementPerSQLText)
{
    auto db = cachingDatabase();
    auto statement = db->cachedStatementForQuery("insert into t values (?)");
    ASSERT_TRUE(statement);
    EXPECT_EQ(statement->useCount(), 3);
    EXPECT_EQ(statement->query(), "insert into t values (?)");
    for (int run = 0; run < 2; ++run) {
        auto rows = db->executeQuery("select v from t where v = ?", 2);
        ASSERT_TRUE(rows && rows->next());
        EXPECT_EQ(rows->intForColumn("v"), 2);
        EXPECT_FALSE(rows->next());
    }
    EXPECT_EQ(db->cachedStatementForQuery("select v from t where v = ?")->useCount(), 2);
}

TEST(StatementCache, TwoLiveResultSetsOfOneSQLDoNotShareAStatement)
{
    auto db = cachingDatabase();
    const char* sql = "select v from t order by v";
    auto first = db->executeQuery(sql);
    ASSERT_TRUE(first && first->next());
    auto second = db->executeQuery(sql);
    ASSERT_TRUE(second && second->next());
    EXPECT_NE(first->statement(), second->statement());
    EXPECT_EQ(second->intForColumnIndex(0), 1);
    ASSERT_TRUE(first->next());
    EXPECT_EQ(first->intForColumnIndex(0), 2);
    second->close();
    first->close();

    auto again = db->executeQuery(sql);
    ASSERT_TRUE(again && again->next());
    EXPECT_EQ(again->intForColumnIndex(0), 1) << "a statement handed back by a closed set starts over";
}

TEST(StatementCache, FailedBindKeepsTheCachedStatementUsable)
{
    auto db = cachingDatabase();
    ASSERT_TRUE(db->executeUpdate("update t set v = v where v = ?", 1));
    auto cached = db->cachedStatementForQuery("update t set v = v where v = ?");
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(db->executeUpdate("update t set v = v where v = ?"));
    EXPECT_EQ(db->cachedStatementForQuery("update t set v = v where v = ?"), cached);
    EXPECT_TRUE(cached->statement());
    EXPECT_TRUE(db->executeUpdate("update t set v = v where v = ?", 1));

    auto rows = db->executeQuery("select v from t where v = ?", 3);
    ASSERT_TRUE(rows);
    rows->close();
    EXPECT_EQ(db->executeQuery("select v from t where v = ?"), nullptr);
    rows = db->executeQuery("select v from t where v = ?", 3);
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->intForColumnIndex(0), 3);
}

TEST(StatementCache, AnUpdateLeavesItsCachedStatementHoldingNoneOfItsArguments)
{
    // An update's texts and blobs are read in place while it steps; once the call returns they may be gone,
    // so the statement kept in the cache must not point at them.
    auto db = cachingDatabase();
    ASSERT_TRUE(db->executeUpdate("create table m (body, picture)"));
    const char* sql = "insert into m values (?, ?)";
    ASSERT_TRUE(db->executeUpdate(sql, std::string(40, 'x'), base::Data(40, 7)));
    auto cached = db->cachedStatementForQuery(sql);
    ASSERT_TRUE(cached && cached->statement());
    char* expanded = sqlite3_expanded_sql(cached->statement());
    ASSERT_TRUE(expanded);
    EXPECT_STREQ(expanded, "insert into m values (NULL, NULL)");
    sqlite3_free(expanded);

    ASSERT_TRUE(db->executeUpdate(sql, std::string("second"), nullptr));
    auto rows = db->executeQuery("select body, length(picture) from m order by rowid");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->stringForColumnIndex(0), std::string(40, 'x'));
    EXPECT_EQ(rows->intForColumnIndex(1), 40);
    ASSERT_TRUE(rows->next());
    EXPECT_EQ(rows->stringForColumnIndex(0), "second");
}

TEST(StatementCache, TurningCachingOffDropsTheCache)
{
    auto db = cachingDatabase();
    EXPECT_FALSE(db->cachedStatements().empty());
    auto rows = db->executeQuery("select v from t order by v");
    ASSERT_TRUE(rows && rows->next());
    db->setShouldCacheStatements(false);
    EXPECT_TRUE(db->cachedStatements().empty());
    ASSERT_TRUE(rows->next()) << "a live result set keeps its statement";
    EXPECT_EQ(rows->intForColumnIndex(0), 2);
}

namespace {

class StatementCacheFileTest : public test::DatabaseFileTest {
protected:
    std::shared_ptr<database::Database> cachingFile()
    {
        auto db = openFile();
        db->setShouldCacheStatements(true);
        EXPECT_TRUE(db->executeUpdate("create table t (v)"));
        EXPECT_TRUE(db->executeUpdate("insert into t values (1)"));
        return db;
    }

    static std::vector<std::string> rowsOf(database::Database& db, const char* sql)
    {
        std::vector<std::string> rows;
        auto set = db.executeQuery(sql);
        while (set && set->next()) {
            std::string row;
            for (int column = 0; column < set->columnCount(); ++column)
                row += (column ? "," : "") + set->stringForColumnIndex(column).value_or("null");
            rows.push_back(row);
        }
        return rows;
    }
};

} // namespace

TEST_F(StatementCacheFileTest, ACachedStatementReadsWhatAnotherConnectionChangedSchemaAndRowsAlike)
{
    auto db = cachingFile();
    EXPECT_EQ(rowsOf(*db, "select * from t"), std::vector<std::string> { "1" });
    ASSERT_TRUE(db->cachedStatementForQuery("select * from t"));

    test::OtherConnection other(path());
    ASSERT_EQ(other.run("insert into t values (2)"), SQLITE_OK);
    EXPECT_EQ(rowsOf(*db, "select * from t"), (std::vector<std::string> { "1", "2" }));

    ASSERT_EQ(other.run("drop table t; create table t (v, w); insert into t values ('a', 'b')"), SQLITE_OK);
    EXPECT_EQ(rowsOf(*db, "select * from t"), std::vector<std::string> { "a,b" }) << "prepared again, new columns";
    ASSERT_EQ(other.run("drop table t"), SQLITE_OK);
    base::Log::ScopedCapture quiet;
    EXPECT_TRUE(rowsOf(*db, "select * from t").empty()) << "a table gone is an error, not the old rows";
}

TEST_F(StatementCacheFileTest, ACachedStatementFindsColumnsByTheirNamesAfterAnotherConnectionRenamesThem)
{
    auto db = cachingFile();
    auto rows = db->executeQuery("select * from t");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->intForColumn("v"), 1);
    rows->close();

    test::OtherConnection other(path());
    ASSERT_EQ(other.run("drop table t; create table t (w, v); insert into t values ('first', 'second')"), SQLITE_OK);
    rows = db->executeQuery("select * from t");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->stringForColumn("v"), "second") << "the names of the statement as SQLite prepared it again";
    EXPECT_EQ(rows->stringForColumn("W"), "first");
}

TEST_F(StatementCacheFileTest, ACachedStatementHoldsNoLockBetweenRuns)
{
    auto db = cachingFile();
    EXPECT_EQ(rowsOf(*db, "select v from t"), std::vector<std::string> { "1" });
    auto unfinished = db->executeQuery("select v from t");
    ASSERT_TRUE(unfinished && unfinished->next());
    unfinished->close();
    ASSERT_TRUE(db->executeUpdate("insert into t values (?)", 2));

    test::OtherConnection other(path());
    EXPECT_EQ(other.run("begin exclusive; delete from t; commit"), SQLITE_OK);
    EXPECT_TRUE(rowsOf(*db, "select v from t").empty());
}

TEST_F(StatementCacheFileTest, ClosingDropsTheCacheAndAReopenedConnectionPreparesAnew)
{
    auto db = cachingFile();
    EXPECT_EQ(rowsOf(*db, "select v from t"), std::vector<std::string> { "1" });
    ASSERT_TRUE(db->close());
    EXPECT_TRUE(db->cachedStatements().empty());
    {
        base::Log::ScopedCapture quiet;
        EXPECT_EQ(db->executeQuery("select v from t"), nullptr) << "a closed database runs nothing";
    }

    EXPECT_EQ(test::OtherConnection(path()).run("insert into t values (2)"), SQLITE_OK);
    ASSERT_TRUE(db->open());
    EXPECT_EQ(rowsOf(*db, "select v from t"), (std::vector<std::string> { "1", "2" }));
}
