#include "database/ResultSet.h"

#include "base/system/Log.h"
#include "database/BusyRetry.h"
#include "database/Database.h"
#include "database/Statement.h"

#include <sqlite3.h>

namespace database {

std::shared_ptr<ResultSet> ResultSet::resultSetWithStatement(
    std::shared_ptr<Statement> statement, std::shared_ptr<Database> parentDB)
{
    return std::make_shared<ResultSet>(Private(), std::move(statement), std::move(parentDB));
}

ResultSet::ResultSet(Private, std::shared_ptr<Statement> statement, std::shared_ptr<Database> parentDB)
    : m_parentDB(std::move(parentDB))
    , m_statement(std::move(statement))
{
}

ResultSet::~ResultSet() { close(); }

void ResultSet::close()
{
    if (auto statement = std::move(m_statement)) {
        statement->reset();
        statement->setInUse(false);
    }
    if (auto parent = std::move(m_parentDB))
        parent->resultSetDidClose(this);
}

sqlite3_stmt* ResultSet::handle() const { return m_statement ? m_statement->statement() : nullptr; }

sqlite3_stmt* ResultSet::readableHandle(int index) const
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    return index < 0 ? nullptr : handle();
}

std::string ResultSet::messageFor(int resultCode) const
{
    sqlite3_stmt* statement = handle();
    return statement ? sqlite3_errmsg(sqlite3_db_handle(statement)) : sqlite3_errstr(resultCode);
}

bool ResultSet::next()
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    sqlite3_stmt* statement = handle();
    BusyRetry retry;
    int result;
    while (true) {
        // A closed set has no statement to step, which SQLite would answer with misuse.
        result = statement ? sqlite3_step(statement) : SQLITE_MISUSE;
        if (result == SQLITE_ROW)
            return true;
        if (!BusyRetry::isBusy(result))
            break;
        if (result == SQLITE_LOCKED) {
            int resetResult = sqlite3_reset(statement);
            if (resetResult != SQLITE_LOCKED)
                base::log("Unexpected result from sqlite3_reset (" + std::to_string(resetResult) + ") rs");
        }
        if (!retry.waitAndRetry(m_parentDB ? m_parentDB->busyRetryTimeout() : 0)) {
            std::string path = m_parentDB && m_parentDB->databasePath() ? *m_parentDB->databasePath() : "(null)";
            base::log("ResultSet::next:" + std::to_string(__LINE__) + " Database busy (" + path + ")");
            base::log("Database busy");
            break;
        }
    }
    if (result == SQLITE_ERROR || result == SQLITE_MISUSE)
        base::log("Error calling sqlite3_step (" + std::to_string(result) + ": " + messageFor(result) + ") rs");
    else if (result != SQLITE_DONE && !BusyRetry::isBusy(result))
        base::log("Unknown error calling sqlite3_step (" + std::to_string(result) + ": " + messageFor(result) + ") rs");
    close();
    return false;
}

bool ResultSet::hasAnotherRow() const { return m_parentDB && m_parentDB->lastErrorCode() == SQLITE_ROW; }

int ResultSet::columnCount() const { return sqlite3_column_count(handle()); }

ColumnNames& ResultSet::takeColumnNames()
{
    m_columnNames = m_statement ? m_statement->columnNames() : std::make_shared<ColumnNames>(nullptr);
    return *m_columnNames;
}

void ResultSet::warnNoColumnNamed(std::string_view name) const
{
    base::log("Warning: I could not find the column named '" + asciiLowercase(name) + "'.");
}

std::string ResultSet::columnNameForIndex(int index) const
{
    const char* name = sqlite3_column_name(handle(), index);
    return name ? name : "";
}

void ResultSet::setColumnValuesOnObject(
    const std::function<void(const std::string& key, std::string value)>& setValue) const
{
    int count = columnCount();
    for (int index = 0; index < count; ++index)
        if (auto text = UTF8StringForColumnIndex(index))
            setValue(columnNameForIndex(index), std::string(*text));
}

base::DictionaryRef ResultSet::resultDict()
{
    if (sqlite3_data_count(handle()) == 0) {
        base::log("Warning: There seem to be no columns in this set.");
        return nullptr;
    }
    base::Dictionary::Pairs pairs;
    for (const auto& [name, index] : columnNameToIndexMap())
        pairs.emplace_back(base::Value(name), objectForColumnIndex(index));
    return base::Dictionary::make(std::move(pairs));
}

std::shared_ptr<base::MutableDictionary> ResultSet::resultDictionary() const
{
    int count = sqlite3_data_count(handle());
    if (count == 0) {
        base::log("Warning: There seem to be no columns in this set.");
        return nullptr;
    }
    auto dictionary = base::MutableDictionary::make();
    for (int index = 0; index < count; ++index)
        dictionary->setObject(objectForColumnIndex(index), columnNameForIndex(index));
    return dictionary;
}

int ResultSet::intForColumnIndex(int index) const
{
    sqlite3_stmt* statement = readableHandle(index);
    return statement ? sqlite3_column_int(statement, index) : 0;
}

int64_t ResultSet::longLongIntForColumnIndex(int index) const
{
    sqlite3_stmt* statement = readableHandle(index);
    return statement ? sqlite3_column_int64(statement, index) : 0;
}

double ResultSet::doubleForColumnIndex(int index) const
{
    sqlite3_stmt* statement = readableHandle(index);
    return statement ? sqlite3_column_double(statement, index) : 0.0;
}

std::optional<std::string> ResultSet::stringForColumnIndex(int index) const
{
    auto text = UTF8StringForColumnIndex(index);
    if (!text)
        return std::nullopt;
    return std::optional<std::string>(std::in_place, *text);
}

std::optional<base::Date> ResultSet::dateForColumnIndex(int index) const
{
    if (columnIndexIsNull(index))
        return std::nullopt;
    if (m_parentDB && m_parentDB->hasDateFormatter()) {
        auto text = stringForColumnIndex(index);
        return text ? m_parentDB->dateFromString(*text) : std::nullopt;
    }
    return base::Date::fromTimeIntervalSince1970(doubleForColumnIndex(index));
}

std::optional<base::Data> ResultSet::dataForColumnIndex(int index) const
{
    auto bytes = dataNoCopyForColumnIndex(index);
    if (!bytes)
        return std::nullopt;
    return base::Data(bytes->begin(), bytes->end());
}

std::optional<std::span<const uint8_t>> ResultSet::dataNoCopyForColumnIndex(int index) const
{
    if (columnIndexIsNull(index))
        return std::nullopt;
    sqlite3_stmt* statement = handle();
    const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(statement, index));
    int length = sqlite3_column_bytes(statement, index);
    return std::span<const uint8_t>(bytes, bytes ? static_cast<size_t>(length) : 0);
}

bool ResultSet::columnIndexIsNull(int index) const
{
    sqlite3_stmt* statement = readableHandle(index);
    return !statement || sqlite3_column_type(statement, index) == SQLITE_NULL;
}

std::optional<std::string_view> ResultSet::UTF8StringForColumnIndex(int index) const
{
    sqlite3_stmt* statement = readableHandle(index);
    if (!statement)
        return std::nullopt;
    // The column's value is looked up once and its text and length read from it, rather than looking the
    // column up for each (a result set is read on one thread, so the value is not shared). When no text comes
    // (NULL, or a conversion that could not allocate), the column is asked again through the call that also
    // records a failure as the connection's error. SQLite gives no text for NULL, so no type test is needed.
    sqlite3_value* value = sqlite3_column_value(statement, index);
    if (const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value)))
        return std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(value)));
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
    if (!text)
        return std::nullopt;
    return std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(statement, index)));
}

base::Value ResultSet::objectForColumnIndex(int index) const
{
    sqlite3_stmt* statement = readableHandle(index);
    if (!statement)
        return base::Value();
    switch (sqlite3_column_type(statement, index)) {
    case SQLITE_BLOB:
        return base::Value(*dataForColumnIndex(index));
    case SQLITE_FLOAT:
        return base::Value(sqlite3_column_double(statement, index));
    case SQLITE_INTEGER:
        return base::Value(static_cast<int64_t>(sqlite3_column_int64(statement, index)));
    case SQLITE_NULL:
        return base::Value();
    default:
        if (auto text = stringForColumnIndex(index))
            return base::Value(std::move(*text));
        return base::Value();
    }
}

} // namespace database
