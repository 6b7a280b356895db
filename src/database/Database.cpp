#include "database/Database.h"

#include "base/system/Log.h"
#include "database/BusyRetry.h"
#include "database/ResultSet.h"
#include "database/SQLFormat.h"
#include "database/SQLIdentifier.h"
#include "database/Statement.h"
#include "database/TransactionBlocks.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <sqlite3.h>
#include <system_error>
#include <vector>

namespace database {

namespace {

    // Sets a flag for the life of one statement execution, so that a re-entrant call (from a custom function
    // block, say) is refused instead of disturbing the statement under way.
    class ExecutingGuard {
    public:
        explicit ExecutingGuard(bool& flag)
            : m_flag(flag)
        {
            m_flag = true;
        }
        ~ExecutingGuard() { m_flag = false; }
        ExecutingGuard(const ExecutingGuard&) = delete;
        ExecutingGuard& operator=(const ExecutingGuard&) = delete;

    private:
        bool& m_flag;
    };

    std::string quoted(const std::string& text) { return "\"" + text + "\""; }

    // Says in words which file could not be opened and why, beside the bare result code; once for each file and
    // cause, as a store that cannot be opened is tried again at every use.
    void explainOpenFailure(const std::string& path, int result, sqlite3* handle)
    {
        std::string why = sqlite3_errstr(result);
        if (int systemError = handle ? sqlite3_system_errno(handle) : 0)
            why += " (" + std::error_code(systemError, std::generic_category()).message() + ")";
        std::string line = "cannot open the database file " + path + ": " + why;
        static std::mutex lock;
        static std::set<std::string> said;
        std::lock_guard guard(lock);
        if (said.insert(line).second)
            base::log(line);
    }

    void callFunctionBlock(sqlite3_context* context, int argumentCount, sqlite3_value** arguments)
    {
        auto* block = static_cast<Database::FunctionBlock*>(sqlite3_user_data(context));
        (*block)(context, argumentCount, arguments);
    }

    void traceArgument(const StatementArgument& argument)
    {
        if (argument.text)
            base::log("obj: " + std::string(*argument.text));
        else if (const base::Data* bytes = argument.value.data())
            base::log("data: " + std::to_string(bytes->size()) + " bytes");
        else
            base::log("obj: " + argument.value.description());
    }

    // The arguments of the forms that take them as values, as a statement binds them.
    std::vector<StatementArgument> statementArguments(std::span<const base::Value> values)
    {
        return { values.begin(), values.end() };
    }

} // namespace

std::shared_ptr<Database> Database::databaseWithPath(std::optional<std::string> path)
{
    return std::make_shared<Database>(Private(), std::move(path));
}

Database::Database(Private, std::optional<std::string> path)
    : m_databasePath(std::move(path))
{
    if (!sqlite3_threadsafe()) {
        base::log("The SQLite library was built without thread safety; the database layer cannot run.");
        std::abort();
    }
}

// The last holder may let go on any thread, so closing here is not a use of the connection.
Database::~Database() { (void)closeConnection(); } // a close refused now has nobody to report to

std::string Database::sqliteLibVersion() { return sqlite3_libversion(); }

bool Database::isSQLiteThreadSafe() { return sqlite3_threadsafe() != 0; }

std::string Database::sqlitePath() const { return m_databasePath ? *m_databasePath : std::string(":memory:"); }

std::string Database::description() const
{
    char text[64];
    std::snprintf(text, sizeof text, "<Database: %p>", static_cast<const void*>(this));
    return text;
}

std::string Database::pathDescription() const { return m_databasePath ? *m_databasePath : std::string("(null)"); }

bool Database::open()
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    if (m_db)
        return true;
    // One thread at a time uses a connection, so SQLite's own locking around every call is not needed.
    return openConnection(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
}

bool Database::openWithFlags(int flags)
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    // Opening over a live connection would leak it, with its locks and statements.
    if (m_db && !close())
        return false;
    return openConnection(flags);
}

bool Database::openConnection(int flags)
{
    sqlite3* handle = nullptr;
    int result = sqlite3_open_v2(sqlitePath().c_str(), &handle, flags, nullptr);
    if (result != SQLITE_OK) {
        base::log("error opening!: " + std::to_string(result));
        explainOpenFailure(sqlitePath(), result, handle);
        // SQLite may hand back a handle even on failure; keeping it would make a later open report success
        // on a connection that never worked.
        sqlite3_close_v2(handle);
        m_db = nullptr;
        return false;
    }
    m_db = handle;
    return true;
}

bool Database::close()
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    return closeConnection();
}

bool Database::closeConnection()
{
    auto keepAlive = weak_from_this().lock();
    clearCachedStatements();
    closeOpenResultSets();
    if (!m_db)
        return true;

    BusyRetry retry;
    bool finalizedLeakedStatements = false;
    int result;
    while (BusyRetry::isBusy(result = sqlite3_close(m_db))) {
        if (!retry.waitAndRetry(m_busyRetryTimeout)) {
            base::log(std::string("Database::close:") + std::to_string(__LINE__));
            base::log("Database busy, unable to close");
            return false;
        }
        if (!finalizedLeakedStatements) {
            finalizedLeakedStatements = true;
            while (sqlite3_stmt* leaked = sqlite3_next_stmt(m_db, nullptr)) {
                base::log("Closing leaked statement");
                sqlite3_finalize(leaked);
            }
        }
    }
    if (result != SQLITE_OK) {
        base::log("error closing!: " + std::to_string(result));
        return false;
    }
    m_db = nullptr;
    return true;
}

void Database::clearCachedStatements()
{
    // A statement that a live result set still reads is left to that result set, which finalises it when
    // it lets it go.
    for (auto& [sql, statement] : m_cachedStatements)
        if (!statement->inUse())
            statement->close();
    m_cachedStatements.clear();
    m_recentStatements = {};
}

bool Database::hasOpenResultSets() const
{
    for (auto& [key, resultSet] : m_openResultSets)
        if (!resultSet.expired())
            return true;
    return false;
}

void Database::closeOpenResultSets()
{
    auto openResultSets = std::move(m_openResultSets);
    m_openResultSets.clear();
    for (auto& [key, weakResultSet] : openResultSets) {
        if (auto resultSet = weakResultSet.lock()) {
            resultSet->setParentDB(nullptr);
            resultSet->close();
        }
    }
}

void Database::resultSetDidClose(const ResultSet* resultSet) { m_openResultSets.erase(resultSet); }

std::shared_ptr<Statement> Database::cachedStatementForQuery(std::string_view sql) const
{
    auto found = m_cachedStatements.find(sql);
    return found == m_cachedStatements.end() ? nullptr : found->second;
}

void Database::setCachedStatement(const std::shared_ptr<Statement>& statement, std::string_view sql)
{
    statement->setQuery(std::string(sql));
    m_cachedStatements.insert_or_assign(std::string(sql), statement);
    rememberRecentStatement(statement);
}

void Database::rememberRecentStatement(const std::shared_ptr<Statement>& statement)
{
    // A statement cached anew for a text takes the place of the one it replaces.
    auto same = std::find_if(m_recentStatements.begin(), m_recentStatements.end(),
        [&](const auto& recent) { return recent && recent->query() == statement->query(); });
    if (same == m_recentStatements.end())
        same = m_recentStatements.begin() + static_cast<std::ptrdiff_t>(m_nextRecentStatement++ % RecentStatementCount);
    *same = statement;
}

std::shared_ptr<Statement> Database::takeCachedStatement(std::string_view sql)
{
    // A few statements usually run in turn many times over (a batch's inserts and deletes): comparing their
    // texts is cheaper than hashing them.
    auto recent = std::find_if(m_recentStatements.begin(), m_recentStatements.end(),
        [&](const auto& statement) { return statement && statement->query() == sql; });
    auto statement = recent != m_recentStatements.end() ? *recent : cachedStatementForQuery(sql);
    if (statement && recent == m_recentStatements.end())
        rememberRecentStatement(statement);
    if (!statement || statement->inUse() || !statement->statement())
        return nullptr;
    if (sqlite3_stmt_busy(statement->statement()))
        statement->reset();
    statement->setInUse(true);
    return statement;
}

bool Database::rekey(std::string_view key)
{
    return rekeyWithData(base::Data(key.begin(), std::find(key.begin(), key.end(), '\0')));
}

bool Database::rekeyWithData(const base::Data&) { return false; }

bool Database::setKey(std::string_view key)
{
    return setKeyWithData(base::Data(key.begin(), std::find(key.begin(), key.end(), '\0')));
}

bool Database::setKeyWithData(const base::Data&) { return false; }

std::shared_ptr<base::DateFormatter> Database::storeableDateFormat(const std::string& format)
{
    auto formatter = std::make_shared<base::DateFormatter>(format);
    formatter->setTimeZone(base::TimeZone::gmt());
    formatter->setLocale("en_US");
    return formatter;
}

void Database::setDateFormat(std::shared_ptr<base::DateFormatter> format) { m_dateFormat = std::move(format); }

std::optional<base::Date> Database::dateFromString(std::string_view text) const
{
    if (!m_dateFormat)
        return std::nullopt;
    return m_dateFormat->dateFromString(text);
}

std::optional<std::string> Database::stringFromDate(base::Date date) const
{
    if (!m_dateFormat)
        return std::nullopt;
    return m_dateFormat->stringFromDate(date);
}

bool Database::goodConnection()
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    if (!m_db)
        return false;
    auto resultSet = executeQuery("select name from sqlite_master where type='table'");
    if (!resultSet)
        return false;
    resultSet->close();
    return true;
}

void Database::warnInUse() const { base::log("The Database " + description() + " is currently in use."); }

bool Database::databaseExists() const
{
    if (m_db)
        return true;
    base::log("The Database " + description() + " is not open.");
    return false;
}

std::string Database::lastErrorMessage() const { return sqlite3_errmsg(m_db); }

bool Database::hadError() const
{
    int code = lastErrorCode();
    return code > SQLITE_OK && code < SQLITE_ROW;
}

int Database::lastErrorCode() const { return sqlite3_errcode(m_db); }

base::Error Database::errorWithMessage(const std::string& message) const
{
    return base::Error("Database", lastErrorCode(), { { base::Error::LocalizedDescriptionKey, message } });
}

base::Error Database::lastError() const { return errorWithMessage(lastErrorMessage()); }

int64_t Database::lastInsertRowId()
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    if (m_isExecutingStatement) {
        warnInUse();
        return 0;
    }
    ExecutingGuard guard(m_isExecutingStatement);
    return sqlite3_last_insert_rowid(m_db);
}

int Database::changes()
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    if (m_isExecutingStatement) {
        warnInUse();
        return 0;
    }
    ExecutingGuard guard(m_isExecutingStatement);
    return sqlite3_changes(m_db);
}

int Database::bindObject(const base::Value& value, int index, sqlite3_stmt* statement) const
{
    return bindValue(value, index, statement, BoundBytes::Copied);
}

int Database::bindValue(const base::Value& value, int index, sqlite3_stmt* statement, BoundBytes bytes) const
{
    // Copied texts and blobs (SQLITE_TRANSIENT) may come from temporaries that die before the statement runs;
    // borrowed ones are read in place while the statement steps. Texts made here are always copied. Explicit
    // lengths keep NUL bytes.
    switch (value.kind()) {
    case base::Value::Kind::Null:
        return sqlite3_bind_null(statement, index);
    case base::Value::Kind::Data: {
        const base::Data& data = *value.data();
        if (data.empty())
            return sqlite3_bind_zeroblob(statement, index, 0);
        return sqlite3_bind_blob64(statement, index, data.data(), data.size(),
            bytes == BoundBytes::Borrowed ? SQLITE_STATIC : SQLITE_TRANSIENT);
    }
    case base::Value::Kind::Date:
        if (auto text = stringFromDate(*value.date()))
            return bindText(*text, index, statement, BoundBytes::Copied);
        return sqlite3_bind_double(statement, index, value.date()->timeIntervalSince1970());
    case base::Value::Kind::Bool:
        return sqlite3_bind_int(statement, index, *value.boolean() ? 1 : 0);
    case base::Value::Kind::Integer:
        return sqlite3_bind_int64(statement, index, *value.integer());
    case base::Value::Kind::Unsigned:
        return sqlite3_bind_int64(statement, index, static_cast<sqlite3_int64>(*value.unsignedInteger()));
    case base::Value::Kind::Double:
        return sqlite3_bind_double(statement, index, *value.real());
    case base::Value::Kind::String:
        return bindText(*value.string(), index, statement, bytes);
    case base::Value::Kind::Array:
    case base::Value::Kind::Dictionary:
        return bindText(value.description(), index, statement, BoundBytes::Copied);
    }
    return sqlite3_bind_null(statement, index);
}

int Database::bindText(std::string_view text, int index, sqlite3_stmt* statement, BoundBytes bytes) const
{
    auto lifetime = bytes == BoundBytes::Borrowed ? SQLITE_STATIC : SQLITE_TRANSIENT;
    return sqlite3_bind_text64(statement, index, text.data(), text.size(), lifetime, SQLITE_UTF8);
}

void Database::logBusy(const char* operation, int line) const
{
    base::log(std::string(operation) + ":" + std::to_string(line) + " Database busy (" + pathDescription() + ")");
    base::log("Database busy");
}

bool Database::prepare(std::string_view sql, const char* operation, base::Error* error, sqlite3_stmt*& handle)
{
    handle = nullptr;
    BusyRetry retry;
    int result;
    while (BusyRetry::isBusy(
        result = sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &handle, nullptr))) {
        sqlite3_finalize(handle);
        handle = nullptr;
        if (!retry.waitAndRetry(m_busyRetryTimeout)) {
            logBusy(operation, __LINE__);
            return false;
        }
    }
    if (result != SQLITE_OK) {
        if (m_logsErrors) {
            base::log("DB Error: " + std::to_string(lastErrorCode()) + " " + quoted(lastErrorMessage()));
            base::log("DB Query: " + std::string(sql));
            base::log("DB Path: " + pathDescription());
        }
        base::setError(error, errorWithMessage(lastErrorMessage()));
        sqlite3_finalize(handle);
        handle = nullptr;
        return false;
    }
    return true;
}

bool Database::bindArguments(sqlite3_stmt* handle, std::span<const StatementArgument> arguments,
    const base::Dictionary* dictionary, BoundBytes bytes, int& boundCount) const
{
    int parameterCount = sqlite3_bind_parameter_count(handle);
    boundCount = 0;
    if (dictionary) {
        for (auto [key, value] : *dictionary) {
            std::string name = ":" + key->stringValue();
            int index = sqlite3_bind_parameter_index(handle, name.c_str());
            if (index > 0) {
                // A dictionary's values are copied: what its entries point at is the container's own business.
                bindValue(*value, index, handle, BoundBytes::Copied);
                ++boundCount;
            } else
                base::log("Could not find index for " + key->description());
        }
    } else {
        bool traced = m_traceExecution && base::Log::isEnabled(ArgumentsTraceCategory);
        for (int index = 0; index < parameterCount && static_cast<size_t>(index) < arguments.size(); ++index) {
            const StatementArgument& argument = arguments[index];
            if (traced)
                traceArgument(argument);
            if (argument.text)
                bindText(*argument.text, index + 1, handle, bytes);
            else
                bindValue(argument.value, index + 1, handle, bytes);
            ++boundCount;
        }
    }
    return boundCount == parameterCount;
}

void Database::releaseAfterFailedBind(const std::shared_ptr<Statement>& cached, sqlite3_stmt* handle) const
{
    // A cached statement stays usable in the cache; only a statement of this run alone is finalised.
    if (cached) {
        sqlite3_reset(handle);
        sqlite3_clear_bindings(handle);
        cached->setInUse(false);
    } else
        sqlite3_finalize(handle);
}

std::shared_ptr<ResultSet> Database::runQuery(
    std::string_view sql, std::span<const StatementArgument> arguments, const base::Dictionary* dictionary)
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    if (!databaseExists())
        return nullptr;
    if (m_isExecutingStatement) {
        warnInUse();
        return nullptr;
    }
    ExecutingGuard guard(m_isExecutingStatement);
    if (m_traceExecution && base::Log::isEnabled(StatementTraceCategory))
        base::log(description() + " executeQuery: " + std::string(sql));

    std::shared_ptr<Statement> statement = m_shouldCacheStatements ? takeCachedStatement(sql) : nullptr;
    sqlite3_stmt* handle = statement ? statement->statement() : nullptr;
    if (!statement && !prepare(sql, "Database::executeQuery", nullptr, handle))
        return nullptr;

    int boundCount;
    if (!bindArguments(handle, arguments, dictionary, BoundBytes::Copied, boundCount)) {
        base::log("Error: the bind count is not correct for the # of variables (executeQuery)");
        releaseAfterFailedBind(statement, handle);
        return nullptr;
    }
    if (!statement) {
        statement = std::make_shared<Statement>(handle, std::string());
        if (m_shouldCacheStatements) {
            setCachedStatement(statement, sql);
            statement->setInUse(true);
        }
    }
    auto resultSet = ResultSet::resultSetWithStatement(statement, shared_from_this());
    resultSet->setQuery(std::string(sql));
    m_openResultSets.emplace(resultSet.get(), resultSet);
    statement->setUseCount(statement->useCount() + 1);
    return resultSet;
}

int Database::stepUpdate(sqlite3_stmt* handle, std::string_view sql)
{
    BusyRetry retry;
    int result;
    while (BusyRetry::isBusy(result = sqlite3_step(handle))) {
        if (result == SQLITE_LOCKED) {
            int resetResult = sqlite3_reset(handle);
            if (resetResult != SQLITE_LOCKED) {
                base::log("Unexpected result from sqlite3_reset (" + std::to_string(resetResult) + ") eu");
                result = resetResult;
            }
        }
        if (!retry.waitAndRetry(m_busyRetryTimeout)) {
            logBusy("Database::executeUpdate", __LINE__);
            return SQLITE_BUSY;
        }
    }
    if (result == SQLITE_DONE)
        return result;
    std::string message = lastErrorMessage();
    if (result == SQLITE_ERROR)
        base::log("Error calling sqlite3_step (1: " + message + ") SQLITE_ERROR");
    else if (result == SQLITE_MISUSE)
        base::log("Error calling sqlite3_step (21: " + message + ") SQLITE_MISUSE");
    else
        base::log("Unknown error calling sqlite3_step (" + std::to_string(result) + ": " + message + ") eu");
    base::log("DB Query: " + std::string(sql));
    return result;
}

bool Database::runUpdate(std::string_view sql, base::Error* error, std::span<const StatementArgument> arguments,
    const base::Dictionary* dictionary)
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    if (!databaseExists())
        return false;
    if (m_isExecutingStatement) {
        warnInUse();
        return false;
    }
    ExecutingGuard guard(m_isExecutingStatement);
    if (m_traceExecution && base::Log::isEnabled(StatementTraceCategory))
        base::log(description() + " executeUpdate: " + std::string(sql));

    std::shared_ptr<Statement> statement = m_shouldCacheStatements ? takeCachedStatement(sql) : nullptr;
    sqlite3_stmt* handle = statement ? statement->statement() : nullptr;
    if (!statement && !prepare(sql, "Database::executeUpdate", error, handle))
        return false;

    int boundCount;
    if (!bindArguments(handle, arguments, dictionary, BoundBytes::Borrowed, boundCount)) {
        base::log("Error: the bind count (" + std::to_string(boundCount)
            + ") is not correct for the # of variables in the query ("
            + std::to_string(sqlite3_bind_parameter_count(handle)) + ") (" + std::string(sql) + ") (executeUpdate)");
        releaseAfterFailedBind(statement, handle);
        return false;
    }

    int result = stepUpdate(handle, sql);

    if (!statement && m_shouldCacheStatements) {
        statement = std::make_shared<Statement>(handle, std::string());
        setCachedStatement(statement, sql);
    }
    int closeResult;
    if (statement) {
        statement->setUseCount(statement->useCount() + 1);
        closeResult = sqlite3_reset(handle);
        // The borrowed texts and blobs go with this call's arguments: the kept statement must not point at them.
        sqlite3_clear_bindings(handle);
        statement->setInUse(false);
    } else
        closeResult = sqlite3_finalize(handle);
    if (closeResult != SQLITE_OK) {
        base::log("Unknown error finalizing or resetting statement (" + std::to_string(closeResult) + ": "
            + lastErrorMessage() + ")");
        base::log("DB Query: " + std::string(sql));
    }
    return result == SQLITE_DONE || result == SQLITE_OK;
}

std::shared_ptr<ResultSet> Database::executeQueryWithArgumentsInArray(
    std::string_view sql, std::span<const base::Value> arguments)
{
    return runQuery(sql, statementArguments(arguments), nullptr);
}

std::shared_ptr<ResultSet> Database::executeQueryWithArgumentsInArray(
    std::string_view sql, const base::Array& arguments)
{
    return runQuery(sql, statementArguments(arguments.toVector()), nullptr);
}

std::shared_ptr<ResultSet> Database::executeQueryWithParameterDictionary(
    std::string_view sql, const base::Dictionary& arguments)
{
    return runQuery(sql, {}, &arguments);
}

bool Database::executeUpdateWithArgumentsInArray(std::string_view sql, std::span<const base::Value> arguments)
{
    return runUpdate(sql, nullptr, statementArguments(arguments), nullptr);
}

bool Database::executeUpdateWithArgumentsInArray(std::string_view sql, const base::Array& arguments)
{
    return runUpdate(sql, nullptr, statementArguments(arguments.toVector()), nullptr);
}

bool Database::executeUpdateWithParameterDictionary(std::string_view sql, const base::Dictionary& arguments)
{
    return runUpdate(sql, nullptr, {}, &arguments);
}

std::shared_ptr<ResultSet> Database::runFormattedQuery(
    std::string_view format, std::span<const FormatArgument> arguments)
{
    auto formatted = extractSQL(format, arguments);
    if (!formatted)
        return nullptr;
    return runQuery(formatted->sql, statementArguments(formatted->arguments), nullptr);
}

bool Database::runFormattedUpdate(std::string_view format, std::span<const FormatArgument> arguments)
{
    auto formatted = extractSQL(format, arguments);
    if (!formatted)
        return false;
    return runUpdate(formatted->sql, nullptr, statementArguments(formatted->arguments), nullptr);
}

bool Database::rollback()
{
    bool done = executeUpdate("rollback transaction");
    if (done)
        m_inTransaction = false;
    return done;
}

bool Database::commit()
{
    bool done = executeUpdate("commit transaction");
    if (done)
        m_inTransaction = false;
    return done;
}

bool Database::beginDeferredTransaction()
{
    bool done = executeUpdate("begin deferred transaction");
    if (done)
        m_inTransaction = true;
    return done;
}

bool Database::beginTransaction()
{
    bool done = executeUpdate("begin exclusive transaction");
    if (done)
        m_inTransaction = true;
    return done;
}

bool Database::startSavePointWithName(std::string_view name, base::Error* error)
{
    bool done = executeUpdate("savepoint " + quoteIdentifier(name) + ";");
    if (!done)
        base::setError(error, lastError());
    return done;
}

bool Database::releaseSavePointWithName(std::string_view name, base::Error* error)
{
    bool done = executeUpdate("release savepoint " + quoteIdentifier(name) + ";");
    if (!done)
        base::setError(error, lastError());
    return done;
}

bool Database::rollbackToSavePointWithName(std::string_view name, base::Error* error)
{
    bool done = executeUpdate("rollback transaction to savepoint " + quoteIdentifier(name) + ";");
    if (!done)
        base::setError(error, lastError());
    return done;
}

std::optional<base::Error> Database::inSavePoint(const SavePointBlock& block)
{
    static std::atomic<long> counter { 0 };
    return runInSavePoint(*this, "dbSavePoint" + std::to_string(counter++), block);
}

void Database::setShouldCacheStatements(bool value)
{
    m_shouldCacheStatements = value;
    if (!value)
        clearCachedStatements();
}

void Database::makeFunctionNamed(const std::string& name, int maximumArguments, FunctionBlock block)
{
    BASE_ASSERT_SEQUENCE(m_sequence);
    m_openFunctions.push_back(std::make_unique<FunctionBlock>(std::move(block)));
    sqlite3_create_function(m_db, name.c_str(), maximumArguments, SQLITE_UTF8, m_openFunctions.back().get(),
        callFunctionBlock, nullptr, nullptr);
}

} // namespace database
