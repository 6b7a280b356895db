// Conveniences on a Database: single-value queries, schema questions, the file's application id and SQL
// validation. Built on the database's public operations and result sets; validateSQL prepares (and never
// runs) a statement itself. Same thread rules as the database they are given.
//
//   int unread = database::intForQuery(*db, "select count(*) from chat where read = ?", false);
//   if (!database::tableExists(*db, "UserChatList")) createTables(*db);
#pragma once

#include "base/time/Date.h"
#include "base/values/Error.h"
#include "base/values/Value.h"
#include "database/Database.h"
#include "database/ResultSet.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace database {

namespace detail {

    // The query's result set on its first row, or null when it failed or has no row.
    std::shared_ptr<ResultSet> queryFirstRow(
        Database& database, std::string_view sql, std::span<const base::Value> arguments);

    template <typename Result, typename Read, typename... Arguments>
    Result readSingleValue(Read read, Database& database, std::string_view sql, Arguments&&... arguments)
    {
        const std::array<base::Value, sizeof...(Arguments)> values { argumentValue(
            std::forward<Arguments>(arguments))... };
        auto row = queryFirstRow(database, sql, values);
        if (!row)
            return Result {};
        Result result = read(*row);
        row->close();
        return result;
    }

} // namespace detail

// The first column of the query's first row; nothing, 0 or false without a row. One argument per "?".
template <typename... Arguments>
[[nodiscard]] std::optional<std::string> stringForQuery(
    Database& database, std::string_view sql, Arguments&&... arguments)
{
    return detail::readSingleValue<std::optional<std::string>>(
        [](ResultSet& row) { return row.stringForColumnIndex(0); }, database, sql,
        std::forward<Arguments>(arguments)...);
}

template <typename... Arguments> int intForQuery(Database& database, std::string_view sql, Arguments&&... arguments)
{
    return detail::readSingleValue<int>(
        [](ResultSet& row) { return row.intForColumnIndex(0); }, database, sql, std::forward<Arguments>(arguments)...);
}

template <typename... Arguments>
int64_t longForQuery(Database& database, std::string_view sql, Arguments&&... arguments)
{
    return detail::readSingleValue<int64_t>(
        [](ResultSet& row) { return row.longForColumnIndex(0); }, database, sql, std::forward<Arguments>(arguments)...);
}

template <typename... Arguments>
[[nodiscard]] bool boolForQuery(Database& database, std::string_view sql, Arguments&&... arguments)
{
    return detail::readSingleValue<bool>(
        [](ResultSet& row) { return row.boolForColumnIndex(0); }, database, sql, std::forward<Arguments>(arguments)...);
}

template <typename... Arguments>
double doubleForQuery(Database& database, std::string_view sql, Arguments&&... arguments)
{
    return detail::readSingleValue<double>([](ResultSet& row) { return row.doubleForColumnIndex(0); }, database, sql,
        std::forward<Arguments>(arguments)...);
}

template <typename... Arguments>
[[nodiscard]] std::optional<base::Data> dataForQuery(Database& database, std::string_view sql, Arguments&&... arguments)
{
    return detail::readSingleValue<std::optional<base::Data>>(
        [](ResultSet& row) { return row.dataForColumnIndex(0); }, database, sql, std::forward<Arguments>(arguments)...);
}

template <typename... Arguments>
[[nodiscard]] std::optional<base::Date> dateForQuery(Database& database, std::string_view sql, Arguments&&... arguments)
{
    return detail::readSingleValue<std::optional<base::Date>>(
        [](ResultSet& row) { return row.dateForColumnIndex(0); }, database, sql, std::forward<Arguments>(arguments)...);
}

// Whether a table of that name exists, whatever the case of the name given.
[[nodiscard]] bool tableExists(Database& database, std::string_view tableName);
// Type, name, table name, root page and SQL of every schema object outside SQLite's own, unread.
std::shared_ptr<ResultSet> getSchema(Database& database);
// One row per column of the table (cid, name, type, notnull, dflt_value, pk), unread.
std::shared_ptr<ResultSet> getTableSchema(Database& database, std::string_view tableName);
// Both names match regardless of case.
[[nodiscard]] bool columnExistsInTableWithName(
    Database& database, std::string_view columnName, std::string_view tableName);
[[nodiscard]] bool columnExists(Database& database, std::string_view tableName, std::string_view columnName);

uint32_t applicationID(Database& database);
void setApplicationID(Database& database, uint32_t applicationID);

// Whether the SQL compiles on this database, without running it. The error slot receives SQLite's code and
// message in the Foundation domain, or "not open" for a closed database.
[[nodiscard]] bool validateSQL(Database& database, std::string_view sql, base::Error* error = nullptr);

} // namespace database
