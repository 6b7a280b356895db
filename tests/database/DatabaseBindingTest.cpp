#include "DatabaseTestSupport.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "database/DatabaseAdditions.h"

using database::Database;

namespace {

std::shared_ptr<Database> databaseWithTable()
{
    auto db = test::openQuietly(std::nullopt);
    EXPECT_TRUE(db->executeUpdate("create table t (a, b)"));
    return db;
}

std::string typeOf(Database& db, const char* column)
{
    return database::stringForQuery(db, std::string("select typeof(") + column + ") from t").value_or("none");
}

} // namespace

TEST(DatabaseBinding, EachValueKindBindsAsItsSQLiteType)
{
    auto db = databaseWithTable();
    struct Case {
        base::Value value;
        const char* type;
    } cases[] = {
        { base::Value(), "null" },
        { base::Value(true), "integer" },
        { base::Value(int64_t(-5)), "integer" },
        { base::Value(uint64_t(18446744073709551615ull)), "integer" },
        { base::Value(2.5), "real" },
        { base::Value("text"), "text" },
        { base::Value(base::Data {}), "blob" },
        { base::Value(base::Date::fromTimeIntervalSince1970(1400000000)), "real" },
    };
    for (auto& c : cases) {
        ASSERT_TRUE(db->executeUpdate("delete from t"));
        ASSERT_TRUE(db->executeUpdate("insert into t (a) values (?)", c.value));
        EXPECT_EQ(typeOf(*db, "a"), c.type) << c.value.description();
    }
    EXPECT_EQ(database::intForQuery(*db, "select a from t where a = ?", 1400000000.0), 1400000000);
    ASSERT_TRUE(db->executeUpdate("update t set a = ?", uint64_t(18446744073709551615ull)));
    EXPECT_EQ(database::longForQuery(*db, "select a from t"), -1) << "unsigned values keep their bits";
    ASSERT_TRUE(db->executeUpdate("update t set a = ?", true));
    EXPECT_EQ(database::longForQuery(*db, "select a from t"), 1);
}

TEST(DatabaseBinding, AbsentArgumentsBindNull)
{
    auto db = databaseWithTable();
    std::optional<std::string> none;
    ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?)", nullptr, none));
    EXPECT_EQ(typeOf(*db, "a"), "null");
    EXPECT_EQ(typeOf(*db, "b"), "null");
}

TEST(DatabaseBinding, TextsAndBlobsKeepNulBytesAndOutliveTheirTemporaries)
{
    auto db = databaseWithTable();
    const std::string text("one\0two", 7);
    const base::Data blob { 0, 1, 0, 2 };
    ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?)", std::string(text), base::Data(blob)));
    auto rows = db->executeQuery("select a, b, length(cast(a as blob)) as n from t where a = ?", std::string(text));
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->stringForColumn("a"), text);
    EXPECT_EQ(rows->UTF8StringForColumnName("a")->size(), 7u);
    EXPECT_EQ(rows->dataForColumn("b"), blob);
    EXPECT_EQ(rows->intForColumn("n"), 7);
    EXPECT_EQ(rows->objectForColumnName("b"), base::Value(blob));
}

TEST(DatabaseBinding, ArgumentCountMismatchFailsWithoutReadingPast)
{
    auto db = databaseWithTable();
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(db->executeUpdate("insert into t values (?, ?)", 1));
    EXPECT_TRUE(capture.contains("Error: the bind count (1) is not correct for the # of variables in the query (2) "
                                 "(insert into t values (?, ?)) (executeUpdate)"));
    EXPECT_EQ(db->executeQuery("select ?, ?", 1), nullptr);
    EXPECT_TRUE(capture.contains("Error: the bind count is not correct for the # of variables (executeQuery)"));

    std::vector<base::Value> three { 1, 2, 3 };
    EXPECT_TRUE(db->executeUpdateWithArgumentsInArray("insert into t values (?, ?)", three))
        << "surplus values are ignored";
    EXPECT_TRUE(db->executeUpdateWithArgumentsInArray("insert into t values (?, ?)", *base::Array::make({ 4, 5 })));
    EXPECT_EQ(database::intForQuery(*db, "select sum(a) + sum(b) from t"), 12);
}

TEST(DatabaseBinding, DictionaryBindsNamedParameters)
{
    auto db = databaseWithTable();
    base::Log::ScopedCapture capture;
    EXPECT_TRUE(db->executeUpdateWithParameterDictionary(
        "insert into t values (:a, :b)", *base::Dictionary::make({ { "a", 1 }, { "b", "x" } })));
    EXPECT_FALSE(db->executeUpdateWithParameterDictionary(
        "insert into t values (:a, :b)", *base::Dictionary::make({ { "a", 1 }, { "c", 2 } })));
    EXPECT_TRUE(capture.contains("Could not find index for c"));
    auto rows = db->executeQueryWithParameterDictionary(
        "select b from t where a = :a", *base::Dictionary::make({ { "a", 1 } }));
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->stringForColumnIndex(0), "x");
    EXPECT_FALSE(rows->next());
}

TEST(DatabaseUpdate, StepFailuresReturnFalseWithTheirLines)
{
    auto db = test::openQuietly(std::nullopt);
    ASSERT_TRUE(db->executeUpdate("create table u (a unique)"));
    ASSERT_TRUE(db->executeUpdate("insert into u values (1)"));
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(db->executeUpdate("insert into u values (1)"));
    EXPECT_TRUE(capture.contains("Unknown error calling sqlite3_step (19: UNIQUE constraint failed: u.a) eu"));
    EXPECT_TRUE(capture.contains("Unknown error finalizing or resetting statement (19: "));
    EXPECT_FALSE(db->executeUpdate("select * from u"));
    EXPECT_TRUE(capture.contains("Unknown error calling sqlite3_step (100: "));
}

TEST(DatabaseFormat, ConvertsArgumentsToBoundValues)
{
    auto db = databaseWithTable();
    ASSERT_TRUE(db->executeUpdateWithFormat("insert into t values (%d, %@)", 7, "seven"));
    ASSERT_TRUE(db->executeUpdateWithFormat("insert into t values (%lld, %@)", int64_t(8), nullptr));
    EXPECT_EQ(database::intForQuery(*db, "select count(*) from t where b is null"), 1);
    auto rows = db->executeQueryWithFormat("select b from t where a = %d and b like '%%ev%%'", 7);
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->stringForColumnIndex(0), "seven");
}
