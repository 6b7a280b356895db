#include "database/DatabaseAdditions.h"

#include "base/system/Log.h"
#include "database/BusyRetry.h"
#include "database/SQLIdentifier.h"
#include "database/StringHash.h"

#include <sqlite3.h>

namespace database {

namespace detail {

    std::shared_ptr<ResultSet> queryFirstRow(
        Database& database, std::string_view sql, std::span<const base::Value> arguments)
    {
        auto resultSet = database.executeQueryWithArgumentsInArray(sql, arguments);
        if (!resultSet || !resultSet->next())
            return nullptr;
        return resultSet;
    }

} // namespace detail

bool tableExists(Database& database, std::string_view tableName)
{
    auto resultSet = database.executeQuery(
        "select [sql] from sqlite_master where [type] = 'table' and lower(name) = ?", asciiLowercase(tableName));
    if (!resultSet)
        return false;
    bool found = resultSet->next();
    resultSet->close();
    return found;
}

std::shared_ptr<ResultSet> getSchema(Database& database)
{
    return database.executeQuery(
        "SELECT type, name, tbl_name, rootpage, sql FROM (SELECT * FROM sqlite_master UNION ALL "
        "SELECT * FROM sqlite_temp_master) WHERE type != 'meta' AND name NOT LIKE 'sqlite_%' "
        "ORDER BY tbl_name, type DESC, name");
}

std::shared_ptr<ResultSet> getTableSchema(Database& database, std::string_view tableName)
{
    return database.executeQuery("PRAGMA table_info(" + quoteIdentifier(tableName) + ")");
}

bool columnExistsInTableWithName(Database& database, std::string_view columnName, std::string_view tableName)
{
    auto resultSet = getTableSchema(database, asciiLowercase(tableName));
    if (!resultSet)
        return false;
    CaseInsensitiveEqual sameName;
    while (resultSet->next()) {
        if (sameName(resultSet->stringForColumn("name").value_or(""), columnName)) {
            resultSet->close();
            return true;
        }
    }
    return false;
}

bool columnExists(Database& database, std::string_view tableName, std::string_view columnName)
{
    return columnExistsInTableWithName(database, columnName, tableName);
}

uint32_t applicationID(Database& database)
{
    auto resultSet = database.executeQuery("pragma application_id");
    if (!resultSet || !resultSet->next())
        return 0;
    auto id = static_cast<uint32_t>(resultSet->longLongIntForColumnIndex(0));
    resultSet->close();
    return id;
}

void setApplicationID(Database& database, uint32_t applicationID)
{
    auto resultSet
        = database.executeQuery("PRAGMA application_id=" + std::to_string(static_cast<int32_t>(applicationID)));
    if (!resultSet)
        return;
    (void)resultSet->next(); // setting the pragma is the step itself; it returns no row
    resultSet->close();
}

bool validateSQL(Database& database, std::string_view sql, base::Error* error)
{
    sqlite3* connection = database.sqliteHandle();
    if (!connection) {
        database.databaseExists();
        base::setError(error,
            base::Error(base::Error::FoundationDomain, SQLITE_MISUSE,
                { { base::Error::LocalizedDescriptionKey, "The database is not open." } }));
        return false;
    }
    sqlite3_stmt* statement = nullptr;
    BusyRetry retry;
    int result;
    while (BusyRetry::isBusy(
        result = sqlite3_prepare_v2(connection, sql.data(), static_cast<int>(sql.size()), &statement, nullptr))) {
        sqlite3_finalize(statement);
        statement = nullptr;
        if (!retry.waitAndRetry(database.busyRetryTimeout())) {
            base::log("Database::validateSQL:" + std::to_string(__LINE__) + " Database busy ("
                + database.databasePath().value_or("(null)") + ")");
            base::log("Database busy");
            break;
        }
    }
    if (result != SQLITE_OK)
        base::setError(error,
            base::Error(base::Error::FoundationDomain, database.lastErrorCode(),
                { { base::Error::LocalizedDescriptionKey, database.lastErrorMessage() } }));
    sqlite3_finalize(statement);
    return result == SQLITE_OK;
}

} // namespace database
