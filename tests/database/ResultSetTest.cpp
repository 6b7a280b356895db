#include "DatabaseTestSupport.h"

#include "database/DatabaseAdditions.h"

using database::Database;
using database::ResultSet;

namespace {

std::shared_ptr<Database> databaseWithRow()
{
    auto db = test::openQuietly(std::nullopt);
    EXPECT_TRUE(db->executeUpdate("create table t (Name text, Count integer, Ratio real, Empty, Bytes blob)"));
    EXPECT_TRUE(db->executeUpdate("insert into t values (?, ?, ?, ?, ?)", "lumet", 7, 0.25, nullptr, base::Data { 9 }));
    return db;
}

} // namespace

TEST(ResultSet, ColumnNamesMatchRegardlessOfCase)
{
    auto db = databaseWithRow();
    auto rows = db->executeQuery("select * from t");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->stringForColumn("name"), "lumet");
    EXPECT_EQ(rows->stringForColumn("NAME"), "lumet");
    EXPECT_EQ(rows->stringForColumn("Name"), "lumet");
    EXPECT_EQ(rows->intForColumn("count"), 7);
    EXPECT_EQ(rows->doubleForColumn("RATIO"), 0.25);
    EXPECT_EQ(rows->columnNameForIndex(0), "Name");
    EXPECT_EQ(rows->columnIndexForName("bytes"), 4);
}

TEST(ResultSet, NullAndAbsentColumnsReadAsNothingOrZero)
{
    auto db = databaseWithRow();
    auto rows = db->executeQuery("select * from t");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_EQ(rows->stringForColumn("empty"), std::nullopt);
    EXPECT_EQ(rows->intForColumn("empty"), 0);
    EXPECT_TRUE(rows->objectForColumnName("empty").isNull());
    EXPECT_TRUE(rows->columnIsNull("empty"));
    EXPECT_EQ(rows->dataForColumn("empty"), std::nullopt);
    EXPECT_EQ(rows->dateForColumn("empty"), std::nullopt);

    base::Log::ScopedCapture capture;
    EXPECT_EQ(rows->intForColumn("Missing"), 0);
    EXPECT_EQ(rows->stringForColumn("missing"), std::nullopt);
    EXPECT_TRUE((*rows)["missing"].isNull());
    EXPECT_TRUE(capture.contains("Warning: I could not find the column named 'missing'."));
    EXPECT_FALSE(db->hadError()) << "reading an absent column leaves the connection's error alone";
}

TEST(ResultSet, ObjectsFollowTheColumnType)
{
    auto db = databaseWithRow();
    auto rows = db->executeQuery("select * from t");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_TRUE((*rows)[1].integer());
    EXPECT_TRUE((*rows)[2].real());
    EXPECT_EQ((*rows)[0], base::Value("lumet"));
    EXPECT_EQ((*rows)[4], base::Value(base::Data { 9 }));

    auto row = rows->resultDict();
    ASSERT_TRUE(row);
    EXPECT_EQ(*row->objectForKey("name"), base::Value("lumet"));
    EXPECT_TRUE(row->objectForKey("empty")->isNull());
    auto exact = rows->resultDictionary();
    ASSERT_TRUE(exact);
    EXPECT_EQ(*exact->objectForKey("Count"), base::Value(7));

    std::map<std::string, std::string> object;
    rows->setColumnValuesOnObject([&](const std::string& key, std::string value) { object[key] = std::move(value); });
    EXPECT_EQ(object,
        (std::map<std::string, std::string> {
            { "Name", "lumet" }, { "Count", "7" }, { "Ratio", "0.25" }, { "Bytes", "\t" } }));
}

TEST(ResultSet, EndOfRowsClosesTheSetAndFurtherStepsAreMisuse)
{
    auto db = databaseWithRow();
    auto rows = db->executeQuery("select * from t");
    ASSERT_TRUE(rows);
    base::Log::ScopedCapture capture;
    EXPECT_EQ(rows->resultDict(), nullptr);
    EXPECT_TRUE(capture.contains("Warning: There seem to be no columns in this set."));
    ASSERT_TRUE(rows->next());
    EXPECT_FALSE(rows->next());
    EXPECT_FALSE(db->hasOpenResultSets());
    EXPECT_EQ(rows->statement(), nullptr);
    EXPECT_FALSE(rows->next());
    EXPECT_TRUE(capture.contains("Error calling sqlite3_step (21: "));
    EXPECT_EQ(rows->intForColumnIndex(0), 0);
    EXPECT_EQ(rows->stringForColumnIndex(0), std::nullopt);
}

TEST(ResultSet, StatementsMayRunBetweenRows)
{
    auto db = databaseWithRow();
    ASSERT_TRUE(db->executeUpdate("insert into t (Name) values ('second')"));
    auto rows = db->executeQuery("select Name from t order by rowid");
    ASSERT_TRUE(rows && rows->next());
    EXPECT_TRUE(db->executeUpdate("create table log (line)"));
    EXPECT_TRUE(db->executeUpdate("insert into log values (?)", *rows->stringForColumn("name")));
    ASSERT_TRUE(rows->next());
    EXPECT_EQ(rows->stringForColumn("name"), "second");
}

TEST(ResultSet, DatesAreSecondsOrTextOfTheDateFormat)
{
    auto db = test::openQuietly(std::nullopt);
    ASSERT_TRUE(db->executeUpdate("create table d (at)"));
    auto date = base::Date::fromTimeIntervalSince1970(1400000000);
    ASSERT_TRUE(db->executeUpdate("insert into d values (?)", date));
    EXPECT_EQ(database::doubleForQuery(*db, "select at from d"), 1400000000.0);
    EXPECT_EQ(database::dateForQuery(*db, "select at from d"), date);

    db->setDateFormat(Database::storeableDateFormat("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(db->executeUpdate("update d set at = ?", date));
    EXPECT_EQ(database::stringForQuery(*db, "select at from d"), "2014-05-13 16:53:20");
    EXPECT_EQ(database::dateForQuery(*db, "select at from d"), date);
}
