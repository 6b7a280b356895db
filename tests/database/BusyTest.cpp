#include "DatabaseTestSupport.h"

#include "database/BusyRetry.h"
#include "database/DatabaseAdditions.h"

using database::BusyRetry;
using test::DatabaseFileTest;

TEST(BusyRetry, ExplicitLimitAllowsOneRetryMoreThanTheLimit)
{
    BusyRetry retry;
    int retries = 0;
    while (retry.waitAndRetry(3))
        ++retries;
    EXPECT_EQ(retries, 4);
}

TEST(BusyRetry, NoLimitGivesUpAfterTheTimeBound)
{
    BusyRetry retry(std::chrono::milliseconds(1));
    int retries = 0;
    while (retry.waitAndRetry(0))
        ++retries;
    EXPECT_GE(retries, 1);
    EXPECT_EQ(BusyRetry::defaultTimeLimit, std::chrono::seconds(2));
}

class BusyDatabaseTest : public DatabaseFileTest {
protected:
    void SetUp() override
    {
        db = openFile();
        ASSERT_TRUE(db->executeUpdate("create table t (a)"));
        ASSERT_TRUE(db->executeUpdate("insert into t values (1)"));
        db->setBusyRetryTimeout(2);
        other = std::make_unique<test::OtherConnection>(path());
    }

    std::shared_ptr<database::Database> db;
    std::unique_ptr<test::OtherConnection> other;
};

TEST_F(BusyDatabaseTest, UpdateGivesUpWhileAnotherConnectionHoldsTheLock)
{
    ASSERT_EQ(other->run("begin exclusive"), SQLITE_OK);
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(db->executeUpdate("insert into t values (2)"));
    auto lines = capture.messages();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("Database::executeUpdate:", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(" Database busy (" + path() + ")"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "Database busy");

    ASSERT_EQ(other->run("commit"), SQLITE_OK);
    EXPECT_TRUE(db->executeUpdate("insert into t values (2)")) << "the same statement works once the lock is gone";
}

TEST_F(BusyDatabaseTest, QueryStepGivesUpAndClosesTheSet)
{
    auto rows = db->executeQuery("select a from t");
    ASSERT_TRUE(rows);
    ASSERT_EQ(other->run("begin exclusive"), SQLITE_OK);
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(rows->next());
    EXPECT_TRUE(capture.contains("ResultSet::next:"));
    EXPECT_TRUE(capture.contains("Database busy"));
    EXPECT_FALSE(db->hasOpenResultSets());
    ASSERT_EQ(other->run("commit"), SQLITE_OK);
}

TEST_F(BusyDatabaseTest, ExclusiveTransactionCannotBeginAndValidationReportsBusy)
{
    ASSERT_EQ(other->run("begin exclusive"), SQLITE_OK);
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(db->beginTransaction());
    EXPECT_FALSE(db->inTransaction());

    auto fresh = openFile();
    fresh->setBusyRetryTimeout(1);
    base::Error error;
    EXPECT_FALSE(database::validateSQL(*fresh, "select a from t", &error)) << "reading the schema needs the lock";
    EXPECT_TRUE(capture.contains("Database::validateSQL:"));
    EXPECT_EQ(error.code(), SQLITE_BUSY);
    ASSERT_EQ(other->run("commit"), SQLITE_OK);
    EXPECT_TRUE(database::validateSQL(*fresh, "select a from t"));
}
