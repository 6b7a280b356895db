// database::Database: the access layer to one SQLite database file. It opens and closes the connection,
// prepares statements, binds argument values (with explicit byte lengths, so texts and blobs may hold NUL bytes;
// a query's are copied for the steps of its result set, an update's listed ones are read in place during the
// call; the texts listed are bound where their caller holds them, not copied into values first), runs updates,
// hands query results out as ResultSets, and offers transactions, save points, an optional statement cache,
// custom SQL functions and date conversion.
//
// One thread at a time per connection: open() opens it without SQLite's own locking around each call (no
// serialized mode), and the connection's sequence checker holds every use to one thread. A caller that shared
// one connection between threads, relying on that locking, shares the file through DatabaseQueue or
// DatabasePool instead. The application uses it on the main thread. Busy or locked results are retried for
// busyRetryTimeout() retries, or for at most two seconds when that is 0, the only place where this layer
// waits. While traceExecution() is on (the default), every statement is traced in the log category "sql" and
// its bound arguments in "sql-args"; both categories are off unless asked for, since statements and
// arguments carry personal data.
//
// The sequence checker binds the connection to the first thread that uses it; a use from another thread
// fails in debug builds until its holder hands it on with detachFromSequence().
//
//   auto db = database::Database::databaseWithPath(path);
//   if (db->open()) {
//       db->executeUpdate("insert into chat (text, sent) values (?, ?)", text, base::Date::now());
//       db->close();
//   }
#pragma once

#include "base/values/Array.h"
#include "base/time/Date.h"
#include "base/time/DateFormatter.h"
#include "base/values/Dictionary.h"
#include "base/values/Error.h"
#include "base/loop/SequenceChecker.h"
#include "base/values/Value.h"
#include "database/SQLArguments.h"
#include "database/StringHash.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_stmt;
struct sqlite3_value;

namespace database {

class ResultSet;
class Statement;

class Database : public std::enable_shared_from_this<Database> {
    struct Private {
        explicit Private() = default;
    };

public:
    using FunctionBlock = std::function<void(sqlite3_context*, int argumentCount, sqlite3_value** arguments)>;
    using SavePointBlock = std::function<void(bool& rollback)>;
    using StatementCache = std::unordered_map<std::string, std::shared_ptr<Statement>, StringHash, std::equal_to<>>;

    // An absent path means an in-memory database, an empty one a temporary database.
    static std::shared_ptr<Database> databaseWithPath(std::optional<std::string> path);
    Database(Private, std::optional<std::string> path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    static std::string sqliteLibVersion();
    static bool isSQLiteThreadSafe();
    // A formatter for storing dates as text: the given pattern, GMT, the "en_US" locale.
    static std::shared_ptr<base::DateFormatter> storeableDateFormat(const std::string& format);

    const std::optional<std::string>& databasePath() const { return m_databasePath; }
    sqlite3* sqliteHandle() const { return m_db; }
    // The file name handed to SQLite: ":memory:", "" or the path.
    std::string sqlitePath() const;
    std::string description() const;

    // Returns true at once when already open. A failed open leaves the database closed.
    [[nodiscard]] bool open();
    // Always opens anew (closing an open connection first), with SQLite's open flags.
    [[nodiscard]] bool openWithFlags(int flags);
    // Closes the cached statements and every open result set first. False (with the connection still open)
    // when SQLite refuses to close.
    [[nodiscard]] bool close();
    // Lets the next thread that uses the connection bind it: a queue or pool handing it to another thread.
    void detachFromSequence() { m_sequence.detach(); }

    void clearCachedStatements();
    bool hasOpenResultSets() const;
    void closeOpenResultSets();
    void resultSetDidClose(const ResultSet* resultSet);
    std::shared_ptr<Statement> cachedStatementForQuery(std::string_view sql) const;
    void setCachedStatement(const std::shared_ptr<Statement>& statement, std::string_view sql);

    // Encryption is not supported: these do nothing and return false.
    [[nodiscard]] bool rekey(std::string_view key);
    [[nodiscard]] bool rekeyWithData(const base::Data& key);
    [[nodiscard]] bool setKey(std::string_view key);
    [[nodiscard]] bool setKeyWithData(const base::Data& key);

    // With a date formatter, dates are stored and read as its text; without, as seconds since 1970.
    bool hasDateFormatter() const { return m_dateFormat != nullptr; }
    void setDateFormat(std::shared_ptr<base::DateFormatter> format);
    [[nodiscard]] std::optional<base::Date> dateFromString(std::string_view text) const;
    [[nodiscard]] std::optional<std::string> stringFromDate(base::Date date) const;

    [[nodiscard]] bool goodConnection();
    void warnInUse() const;
    bool databaseExists() const;

    std::string lastErrorMessage() const;
    bool hadError() const;
    int lastErrorCode() const;
    base::Error errorWithMessage(const std::string& message) const;
    base::Error lastError() const;

    int64_t lastInsertRowId();
    int changes();

    // Binds one value at the 1-based parameter index; returns SQLite's result.
    int bindObject(const base::Value& value, int index, sqlite3_stmt* statement) const;

    // Queries: a result set, or null when the statement could not be prepared or bound.
    template <typename... Arguments>
    std::shared_ptr<ResultSet> executeQuery(std::string_view sql, Arguments&&... arguments)
    {
        const std::array<StatementArgument, sizeof...(Arguments)> values { statementArgument(
            std::forward<Arguments>(arguments))... };
        return runQuery(sql, values, nullptr);
    }
    std::shared_ptr<ResultSet> executeQueryWithArgumentsInArray(
        std::string_view sql, std::span<const base::Value> arguments);
    std::shared_ptr<ResultSet> executeQueryWithArgumentsInArray(std::string_view sql, const base::Array& arguments);
    // Binds each key's value to the parameter named ":key".
    std::shared_ptr<ResultSet> executeQueryWithParameterDictionary(
        std::string_view sql, const base::Dictionary& arguments);
    template <typename... Arguments>
    std::shared_ptr<ResultSet> executeQueryWithFormat(std::string_view format, Arguments&&... arguments)
    {
        const std::array<FormatArgument, sizeof...(Arguments)> values { formatArgument(
            std::forward<Arguments>(arguments))... };
        return runFormattedQuery(format, values);
    }

    // Updates: true when the statement ran to its end.
    template <typename... Arguments> [[nodiscard]] bool executeUpdate(std::string_view sql, Arguments&&... arguments)
    {
        const std::array<StatementArgument, sizeof...(Arguments)> values { statementArgument(
            std::forward<Arguments>(arguments))... };
        return runUpdate(sql, nullptr, values, nullptr);
    }
    // The error slot receives a failure to prepare the statement.
    template <typename... Arguments>
    [[nodiscard]] bool update(std::string_view sql, base::Error* error, Arguments&&... arguments)
    {
        const std::array<StatementArgument, sizeof...(Arguments)> values { statementArgument(
            std::forward<Arguments>(arguments))... };
        return runUpdate(sql, error, values, nullptr);
    }
    [[nodiscard]] bool executeUpdateWithArgumentsInArray(std::string_view sql, std::span<const base::Value> arguments);
    [[nodiscard]] bool executeUpdateWithArgumentsInArray(std::string_view sql, const base::Array& arguments);
    [[nodiscard]] bool executeUpdateWithParameterDictionary(std::string_view sql, const base::Dictionary& arguments);
    template <typename... Arguments>
    [[nodiscard]] bool executeUpdateWithFormat(std::string_view format, Arguments&&... arguments)
    {
        const std::array<FormatArgument, sizeof...(Arguments)> values { formatArgument(
            std::forward<Arguments>(arguments))... };
        return runFormattedUpdate(format, values);
    }

    [[nodiscard]] bool rollback();
    [[nodiscard]] bool commit();
    [[nodiscard]] bool beginDeferredTransaction();
    [[nodiscard]] bool beginTransaction();
    bool inTransaction() const { return m_inTransaction; }

    [[nodiscard]] bool startSavePointWithName(std::string_view name, base::Error* error = nullptr);
    [[nodiscard]] bool releaseSavePointWithName(std::string_view name, base::Error* error = nullptr);
    [[nodiscard]] bool rollbackToSavePointWithName(std::string_view name, base::Error* error = nullptr);
    // Runs the block inside a fresh save point; a block that sets its flag has every change rolled back.
    // Returns the error of the failing save-point statement, or nothing.
    [[nodiscard]] std::optional<base::Error> inSavePoint(const SavePointBlock& block);

    bool shouldCacheStatements() const { return m_shouldCacheStatements; }
    void setShouldCacheStatements(bool value);
    const StatementCache& cachedStatements() const { return m_cachedStatements; }

    // Registers a scalar SQL function on the open connection; the block lives as long as the database.
    void makeFunctionNamed(const std::string& name, int maximumArguments, FunctionBlock block);

    static constexpr const char* StatementTraceCategory = "sql";
    static constexpr const char* ArgumentsTraceCategory = "sql-args";

    bool traceExecution() const { return m_traceExecution; }
    void setTraceExecution(bool value) { m_traceExecution = value; }
    bool checkedOut() const { return m_checkedOut; }
    void setCheckedOut(bool value) { m_checkedOut = value; }
    int busyRetryTimeout() const { return m_busyRetryTimeout; }
    void setBusyRetryTimeout(int value) { m_busyRetryTimeout = value; }
    bool crashOnErrors() const { return m_crashOnErrors; }
    void setCrashOnErrors(bool value) { m_crashOnErrors = value; }
    bool logsErrors() const { return m_logsErrors; }
    void setLogsErrors(bool value) { m_logsErrors = value; }

private:
    std::shared_ptr<ResultSet> runQuery(
        std::string_view sql, std::span<const StatementArgument> arguments, const base::Dictionary* dictionary);
    [[nodiscard]] bool runUpdate(std::string_view sql, base::Error* error, std::span<const StatementArgument> arguments,
        const base::Dictionary* dictionary);
    std::shared_ptr<ResultSet> runFormattedQuery(std::string_view format, std::span<const FormatArgument> arguments);
    [[nodiscard]] bool runFormattedUpdate(std::string_view format, std::span<const FormatArgument> arguments);

    // Whether SQLite copies the texts and blobs it is given: a query's values must outlive the call for its
    // result set's steps; an update's are needed only while it steps, within the call.
    enum class BoundBytes { Copied, Borrowed };

    [[nodiscard]] bool openConnection(int flags);
    [[nodiscard]] bool closeConnection();
    std::shared_ptr<Statement> takeCachedStatement(std::string_view sql);
    void rememberRecentStatement(const std::shared_ptr<Statement>& statement);
    [[nodiscard]] bool prepare(std::string_view sql, const char* operation, base::Error* error, sqlite3_stmt*& handle);
    int bindValue(const base::Value& value, int index, sqlite3_stmt* statement, BoundBytes bytes) const;
    int bindText(std::string_view text, int index, sqlite3_stmt* statement, BoundBytes bytes) const;
    bool bindArguments(sqlite3_stmt* handle, std::span<const StatementArgument> arguments,
        const base::Dictionary* dictionary, BoundBytes bytes, int& boundCount) const;
    void releaseAfterFailedBind(const std::shared_ptr<Statement>& cached, sqlite3_stmt* handle) const;
    int stepUpdate(sqlite3_stmt* handle, std::string_view sql);
    void logBusy(const char* operation, int line) const;
    std::string pathDescription() const;

    sqlite3* m_db { nullptr };
    std::optional<std::string> m_databasePath;
    bool m_logsErrors { false };
    bool m_crashOnErrors { false };
    bool m_traceExecution { true };
    bool m_checkedOut { false };
    bool m_shouldCacheStatements { false };
    bool m_isExecutingStatement { false };
    bool m_inTransaction { false };
    int m_busyRetryTimeout { 0 };
    StatementCache m_cachedStatements;
    // The cached statements used last, found by their texts without hashing them.
    static constexpr size_t RecentStatementCount = 4;
    std::array<std::shared_ptr<Statement>, RecentStatementCount> m_recentStatements;
    size_t m_nextRecentStatement { 0 };
    std::unordered_map<const ResultSet*, std::weak_ptr<ResultSet>> m_openResultSets;
    std::vector<std::unique_ptr<FunctionBlock>> m_openFunctions;
    std::shared_ptr<base::DateFormatter> m_dateFormat;
    base::SequenceChecker m_sequence;
};

} // namespace database
