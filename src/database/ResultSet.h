// database::ResultSet: the cursor over the rows of one query. next() steps to the following row (and closes
// the set when the rows end or a step fails); the getters read the current row's columns by 0-based index or
// by name, names matching regardless of ASCII case. Texts and blobs are read with their byte lengths, so NUL
// bytes survive. A result set keeps its database alive; closing the database closes its result sets.
//
// Used on the thread that ran the query (checked in debug builds from the first step or read). Other statements
// may run on the same database between rows.
//
//   auto rows = db->executeQuery("select id, text from chat where device = ?", deviceId);
//   while (rows && rows->next())
//       show(rows->intForColumn("id"), rows->stringForColumn("Text").value_or(""));
#pragma once

#include "base/loop/SequenceChecker.h"
#include "base/time/Date.h"
#include "base/values/Dictionary.h"
#include "base/values/Value.h"
#include "database/ColumnNames.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

struct sqlite3_stmt;

namespace database {

class Database;
class Statement;

class ResultSet : public std::enable_shared_from_this<ResultSet> {
    struct Private {
        explicit Private() = default;
    };

public:
    using ColumnNameToIndexMap = ColumnNames::Map;

    static std::shared_ptr<ResultSet> resultSetWithStatement(
        std::shared_ptr<Statement> statement, std::shared_ptr<Database> parentDB);
    ResultSet(Private, std::shared_ptr<Statement> statement, std::shared_ptr<Database> parentDB);
    ~ResultSet();
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    // Rewinds and lets go of the statement and tells the database. Closing twice does nothing.
    void close();

    // True with a row current; false (the set now closed) at the end of the rows or on a failure.
    [[nodiscard]] bool next();
    bool hasAnotherRow() const;

    int columnCount() const;
    // Column names (as SQLite gives them) to indices; a later column wins over an earlier one of the same name.
    const ColumnNameToIndexMap& columnNameToIndexMap() { return columnNames().map(); }
    // The column's index, or -1 (with a warning line) when no column has that name.
    int columnIndexForName(std::string_view name)
    {
        int index = columnNames().indexForName(name, m_previousLookup);
        if (index < 0)
            warnNoColumnNamed(name);
        return index;
    }
    std::string columnNameForIndex(int index) const;

    // Calls `setValue` with each column's name and the current row's value as text; NULL columns are skipped.
    void setColumnValuesOnObject(const std::function<void(const std::string& key, std::string value)>& setValue) const;
    // The current row keyed by the lower-cased column names, or null (with a warning line) with no row.
    base::DictionaryRef resultDict();
    // The current row keyed by the column names as SQLite gives them, or null with no row.
    std::shared_ptr<base::MutableDictionary> resultDictionary() const;

    // Numbers read SQLite's value: 0 for NULL, for an absent column and after close.
    int intForColumnIndex(int index) const;
    int intForColumn(std::string_view name) { return intForColumnIndex(columnIndexForName(name)); }
    int64_t longForColumnIndex(int index) const { return longLongIntForColumnIndex(index); }
    int64_t longForColumn(std::string_view name) { return longForColumnIndex(columnIndexForName(name)); }
    int64_t longLongIntForColumnIndex(int index) const;
    int64_t longLongIntForColumn(std::string_view name) { return longLongIntForColumnIndex(columnIndexForName(name)); }
    uint64_t unsignedLongLongIntForColumnIndex(int index) const
    {
        return static_cast<uint64_t>(longLongIntForColumnIndex(index));
    }
    uint64_t unsignedLongLongIntForColumn(std::string_view name)
    {
        return unsignedLongLongIntForColumnIndex(columnIndexForName(name));
    }
    bool boolForColumnIndex(int index) const { return intForColumnIndex(index) != 0; }
    [[nodiscard]] bool boolForColumn(std::string_view name) { return boolForColumnIndex(columnIndexForName(name)); }
    double doubleForColumnIndex(int index) const;
    double doubleForColumn(std::string_view name) { return doubleForColumnIndex(columnIndexForName(name)); }

    // Texts, dates and data are absent for NULL and for an absent column.
    [[nodiscard]] std::optional<std::string> stringForColumnIndex(int index) const;
    [[nodiscard]] std::optional<std::string> stringForColumn(std::string_view name)
    {
        return stringForColumnIndex(columnIndexForName(name));
    }
    // With the database's date formatter, the text read back through it; without, seconds since 1970.
    [[nodiscard]] std::optional<base::Date> dateForColumnIndex(int index) const;
    [[nodiscard]] std::optional<base::Date> dateForColumn(std::string_view name)
    {
        return dateForColumnIndex(columnIndexForName(name));
    }
    [[nodiscard]] std::optional<base::Data> dataForColumnIndex(int index) const;
    [[nodiscard]] std::optional<base::Data> dataForColumn(std::string_view name)
    {
        return dataForColumnIndex(columnIndexForName(name));
    }
    // SQLite's own bytes, valid only until the next next(), reset or close.
    [[nodiscard]] std::optional<std::span<const uint8_t>> dataNoCopyForColumnIndex(int index) const;
    [[nodiscard]] std::optional<std::span<const uint8_t>> dataNoCopyForColumn(std::string_view name)
    {
        return dataNoCopyForColumnIndex(columnIndexForName(name));
    }
    bool columnIndexIsNull(int index) const;
    [[nodiscard]] bool columnIsNull(std::string_view name) { return columnIndexIsNull(columnIndexForName(name)); }
    // SQLite's own UTF-8 text, valid only until the row changes.
    [[nodiscard]] std::optional<std::string_view> UTF8StringForColumnIndex(int index) const;
    [[nodiscard]] std::optional<std::string_view> UTF8StringForColumnName(std::string_view name)
    {
        return UTF8StringForColumnIndex(columnIndexForName(name));
    }
    // By the column's type: data, a double, a 64-bit integer or a text; the null value for NULL.
    base::Value objectForColumnIndex(int index) const;
    base::Value objectForColumnName(std::string_view name) { return objectForColumnIndex(columnIndexForName(name)); }
    base::Value operator[](int index) { return objectForColumnIndex(index); }
    base::Value operator[](std::string_view name) { return objectForColumnName(name); }

    const std::shared_ptr<Database>& parentDB() const { return m_parentDB; }
    void setParentDB(std::shared_ptr<Database> parentDB) { m_parentDB = std::move(parentDB); }
    const std::string& query() const { return m_query; }
    void setQuery(std::string query) { m_query = std::move(query); }
    const std::shared_ptr<Statement>& statement() const { return m_statement; }
    void setStatement(std::shared_ptr<Statement> statement) { m_statement = std::move(statement); }

private:
    // The statement's column names, taken at the first use and kept after the set closes.
    ColumnNames& columnNames() { return m_columnNames ? *m_columnNames : takeColumnNames(); }
    ColumnNames& takeColumnNames();
    void warnNoColumnNamed(std::string_view name) const;
    sqlite3_stmt* handle() const;
    // The handle when `index` may be read (not negative, the set not closed), else null.
    sqlite3_stmt* readableHandle(int index) const;
    std::string messageFor(int resultCode) const;

    std::shared_ptr<Database> m_parentDB;
    std::shared_ptr<Statement> m_statement;
    std::string m_query;
    std::shared_ptr<ColumnNames> m_columnNames;
    // This set's place in the order of its name lookups.
    int m_previousLookup { -1 };
    base::SequenceChecker m_sequence;
};

} // namespace database
