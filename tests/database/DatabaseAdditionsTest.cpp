#include "DatabaseTestSupport.h"

#include "database/DatabaseAdditions.h"

using namespace database;

namespace {

std::shared_ptr<Database> databaseWithTable()
{
    auto db = test::openQuietly(std::nullopt);
    EXPECT_TRUE(db->executeUpdate("create table Messages (Id integer, Body text)"));
    EXPECT_TRUE(db->executeUpdate("insert into Messages values (?, ?)", 5, "hi"));
    return db;
}

} // namespace

TEST(DatabaseAdditions, SingleValueQueries)
{
    auto db = databaseWithTable();
    EXPECT_EQ(stringForQuery(*db, "select Body from Messages where Id = ?", 5), "hi");
    EXPECT_EQ(intForQuery(*db, "select Id from Messages"), 5);
    EXPECT_TRUE(boolForQuery(*db, "select Id from Messages"));
    EXPECT_EQ(doubleForQuery(*db, "select Id / 2.0 from Messages"), 2.5);
    EXPECT_EQ(dataForQuery(*db, "select cast(Body as blob) from Messages"), (base::Data { 'h', 'i' }));

    EXPECT_EQ(intForQuery(*db, "select Id from Messages where Id = ?", 6), 0);
    EXPECT_EQ(stringForQuery(*db, "select Body from Messages where Id = ?", 6), std::nullopt);
    base::Log::ScopedCapture capture;
    EXPECT_EQ(longForQuery(*db, "select nonsense from Messages"), 0);
    EXPECT_FALSE(db->hasOpenResultSets());
}

TEST(DatabaseAdditions, SchemaQuestionsIgnoreCase)
{
    auto db = databaseWithTable();
    EXPECT_TRUE(tableExists(*db, "messages"));
    EXPECT_TRUE(tableExists(*db, "MESSAGES"));
    EXPECT_FALSE(tableExists(*db, "Other"));
    EXPECT_TRUE(columnExistsInTableWithName(*db, "BODY", "messages"));
    EXPECT_TRUE(columnExists(*db, "Messages", "id"));
    EXPECT_FALSE(columnExists(*db, "Messages", "missing"));
    EXPECT_FALSE(columnExists(*db, "Messages\"); drop table Messages; --", "id"));
    EXPECT_TRUE(tableExists(*db, "Messages"));

    auto schema = getSchema(*db);
    ASSERT_TRUE(schema && schema->next());
    EXPECT_EQ(schema->stringForColumn("name"), "Messages");
    EXPECT_EQ(schema->stringForColumn("type"), "table");
    schema->close();
    EXPECT_FALSE(db->hasOpenResultSets());
}

TEST(DatabaseAdditions, ApplicationIdRoundTrips)
{
    auto db = test::openQuietly(std::nullopt);
    EXPECT_EQ(applicationID(*db), 0u);
    setApplicationID(*db, 0xCAFEBABE);
    EXPECT_EQ(applicationID(*db), 0xCAFEBABEu);
}

TEST(DatabaseAdditions, ValidationCompilesWithoutRunning)
{
    auto db = databaseWithTable();
    base::Error error;
    EXPECT_TRUE(validateSQL(*db, "delete from Messages", &error));
    EXPECT_EQ(intForQuery(*db, "select count(*) from Messages"), 1);
    EXPECT_FALSE(validateSQL(*db, "delet from Messages", &error));
    EXPECT_EQ(error.domain(), base::Error::FoundationDomain);
    EXPECT_EQ(error.code(), SQLITE_ERROR);
    EXPECT_EQ(error.localizedDescription(), "near \"delet\": syntax error");
}

TEST(DatabaseAdditions, ValidationOfAClosedDatabaseSaysNotOpen)
{
    auto db = Database::databaseWithPath(std::nullopt);
    base::Log::ScopedCapture capture;
    base::Error error;
    EXPECT_FALSE(validateSQL(*db, "select 1", &error));
    EXPECT_EQ(error.localizedDescription(), "The database is not open.");
    EXPECT_TRUE(capture.contains("is not open."));
}
