#include "DatabaseTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

using database::Database;
using test::DatabaseFileTest;

TEST(DatabaseOpen, AbsentPathIsInMemoryAndEmptyPathTemporary)
{
    auto memory = Database::databaseWithPath(std::nullopt);
    auto temporary = Database::databaseWithPath(std::string());
    EXPECT_EQ(memory->sqlitePath(), ":memory:");
    EXPECT_EQ(temporary->sqlitePath(), "");
    for (auto& db : { memory, temporary }) {
        db->setTraceExecution(false);
        ASSERT_TRUE(db->open());
        EXPECT_TRUE(db->executeUpdate("create table t (a)"));
        EXPECT_TRUE(db->close());
        ASSERT_TRUE(db->open());
        EXPECT_FALSE(db->executeUpdate("insert into t values (1)")) << "the table went with the connection";
    }
}

TEST_F(DatabaseFileTest, OpenTwiceKeepsTheConnection)
{
    auto db = openFile();
    sqlite3* handle = db->sqliteHandle();
    EXPECT_TRUE(db->open());
    EXPECT_EQ(db->sqliteHandle(), handle);
    EXPECT_TRUE(db->goodConnection());
}

TEST_F(DatabaseFileTest, FailedOpenLeavesTheDatabaseClosedAndFailsAgain)
{
    std::filesystem::create_directory(path()); // a folder where the file should be cannot be opened
    auto db = Database::databaseWithPath(path());
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(db->open());
    EXPECT_EQ(db->sqliteHandle(), nullptr);
    EXPECT_FALSE(db->open());
    EXPECT_TRUE(capture.contains("error opening!: "));
    EXPECT_FALSE(db->goodConnection());
    // Beside the bare code, once: which file, and why in words.
    auto lines = capture.messages();
    const std::string explained
        = "cannot open the database file " + path() + ": unable to open database file (Is a directory)";
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(explained); }),
        1)
        << (lines.empty() ? "" : lines.back());
}

TEST_F(DatabaseFileTest, OpenWithFlagsReopensAndHonoursReadOnly)
{
    auto db = openFile();
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    ASSERT_TRUE(db->openWithFlags(SQLITE_OPEN_READONLY));
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(db->executeUpdate("insert into t values (1)"));
    EXPECT_TRUE(capture.contains("attempt to write a readonly database"));

    auto missing = Database::databaseWithPath(path() + ".missing");
    EXPECT_FALSE(missing->openWithFlags(SQLITE_OPEN_READONLY));
    EXPECT_EQ(missing->sqliteHandle(), nullptr);
}

TEST(DatabaseClose, ClosedDatabaseClosesAndRefusesWork)
{
    auto db = Database::databaseWithPath(std::nullopt);
    EXPECT_TRUE(db->close());
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(db->executeUpdate("create table t (a)"));
    EXPECT_EQ(db->executeQuery("select 1"), nullptr);
    EXPECT_TRUE(capture.contains("is not open."));
}

TEST(DatabaseClose, FinalizesStatementsLeftOnTheConnection)
{
    auto db = test::openQuietly(std::nullopt);
    sqlite3_stmt* leaked = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db->sqliteHandle(), "select 1", -1, &leaked, nullptr), SQLITE_OK);
    base::Log::ScopedCapture capture;
    EXPECT_TRUE(db->close());
    EXPECT_EQ(db->sqliteHandle(), nullptr);
    EXPECT_TRUE(capture.contains("Closing leaked statement"));
}

TEST(DatabaseClose, ClosesOpenResultSetsAndCachedStatements)
{
    auto db = test::openQuietly(std::nullopt);
    db->setShouldCacheStatements(true);
    auto rows = db->executeQuery("select 1 union all select 2");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_TRUE(db->hasOpenResultSets());
    EXPECT_TRUE(db->close());
    EXPECT_FALSE(db->hasOpenResultSets());
    EXPECT_TRUE(db->cachedStatements().empty());
    EXPECT_EQ(rows->parentDB(), nullptr);
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(rows->next());
    EXPECT_TRUE(capture.contains("Error calling sqlite3_step (21: "));
}

TEST(DatabaseErrors, ReportsTheLastSQLiteError)
{
    auto db = test::openQuietly(std::nullopt);
    base::Log::ScopedCapture capture;
    base::Error error;
    EXPECT_FALSE(db->update("insert into missing values (1)", &error));
    EXPECT_TRUE(db->hadError());
    EXPECT_EQ(error.domain(), "Database");
    EXPECT_EQ(error.code(), SQLITE_ERROR);
    EXPECT_EQ(error.localizedDescription(), "no such table: missing");
    EXPECT_EQ(db->lastError().localizedDescription(), "no such table: missing");

    auto rows = db->executeQuery("select 1");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_FALSE(db->hadError()) << "a row (100) is no error";
    EXPECT_TRUE(rows->hasAnotherRow());
    EXPECT_FALSE(rows->next());
    EXPECT_TRUE(db->executeUpdate("create table t (a)"));
    EXPECT_FALSE(db->hadError()) << "a finished update (101) is no error";
}

TEST(DatabaseErrors, PrepareFailuresAreLoggedOnlyWhenAsked)
{
    auto db = test::openQuietly(std::nullopt);
    {
        base::Log::ScopedCapture capture;
        EXPECT_EQ(db->executeQuery("selec 1"), nullptr);
        EXPECT_TRUE(capture.messages().empty());
    }
    db->setLogsErrors(true);
    base::Log::ScopedCapture capture;
    EXPECT_EQ(db->executeQuery("selec 1"), nullptr);
    auto lines = capture.messages();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "DB Error: 1 \"near \"selec\": syntax error\"");
    EXPECT_EQ(lines[1], "DB Query: selec 1");
    EXPECT_EQ(lines[2], "DB Path: (null)");
}

TEST(DatabaseTracing, StatementsAndArgumentsStayOutOfTheLogUnlessTheirCategoriesAreOn)
{
    auto db = Database::databaseWithPath(std::nullopt);
    ASSERT_TRUE(db->open());
    base::Log::ScopedCapture capture;
    EXPECT_TRUE(db->executeUpdate("create table secret (a)"));
    EXPECT_TRUE(db->executeUpdate("insert into secret values (?)", "password"));
    {
        base::Log::ScopedCategories statementsOnly("sql");
        EXPECT_TRUE(db->executeUpdate("insert into secret values (?)", "phone number"));
    }
    auto lines = capture.messages();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], db->description() + " executeUpdate: insert into secret values (?)");
}

TEST(DatabaseTracing, LogsStatementsAndArgumentsUntilTurnedOff)
{
    auto db = Database::databaseWithPath(std::nullopt);
    ASSERT_TRUE(db->open());
    base::Log::ScopedCategories traced("sql,sql-args");
    {
        base::Log::ScopedCapture capture;
        EXPECT_TRUE(db->executeUpdate("create table t (a, b)"));
        EXPECT_TRUE(db->executeUpdate("insert into t values (?, ?)", "hello", base::Data { 1, 2, 3 }));
        auto lines = capture.messages();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0], db->description() + " executeUpdate: create table t (a, b)");
        EXPECT_EQ(lines[2], "obj: hello");
        EXPECT_EQ(lines[3], "data: 3 bytes");
    }
    db->setTraceExecution(false);
    base::Log::ScopedCapture capture;
    EXPECT_TRUE(db->executeUpdate("insert into t values (?, ?)", "quiet", 1));
    EXPECT_TRUE(capture.messages().empty());
}

TEST(DatabaseFunctions, CustomFunctionRunsAndReentryIsRefused)
{
    auto db = test::openQuietly(std::nullopt);
    ASSERT_TRUE(db->executeUpdate("create table t (a)"));
    db->makeFunctionNamed("twice", 1, [](sqlite3_context* context, int, sqlite3_value** arguments) {
        sqlite3_result_int64(context, 2 * sqlite3_value_int64(arguments[0]));
    });
    auto rows = db->executeQuery("select twice(?)", 21);
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->intForColumnIndex(0), 42);
    rows->close();

    auto* raw = db.get();
    db->makeFunctionNamed("reenter", 0, [raw](sqlite3_context* context, int, sqlite3_value**) {
        sqlite3_result_int(context, raw->executeUpdate("delete from t") ? 1 : 0);
    });
    base::Log::ScopedCapture capture;
    EXPECT_TRUE(db->executeUpdate("insert into t values (reenter())"));
    EXPECT_TRUE(capture.contains("is currently in use."));
}
