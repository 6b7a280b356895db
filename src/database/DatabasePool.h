// database::DatabasePool: a set of open databases for one file, so several threads can each work on their
// own connection. db() checks a database out (the most recently returned idle one first, else a new one),
// pushDatabaseBackInPool() checks it in. Only the pool's two lists are locked: a checked-out database belongs
// to the thread that took it.
//
//   auto pool = database::DatabasePool::databasePoolWithPath(path);
//   pool->inDatabase([&](const std::shared_ptr<database::Database>& db) {
//       if (db) db->executeUpdate("delete from chat where id = ?", id); });
#pragma once

#include "base/values/Error.h"
#include "database/DatabasePoolDelegate.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace database {

class Database;

class DatabasePool {
    struct Private {
        explicit Private() = default;
    };

public:
    using DatabaseBlock = std::function<void(const std::shared_ptr<Database>& database)>;
    using TransactionBlock = std::function<void(const std::shared_ptr<Database>& database, bool& rollback)>;

    static std::shared_ptr<DatabasePool> databasePoolWithPath(std::optional<std::string> path);
    DatabasePool(Private, std::optional<std::string> path);

    // Checks a database in. Raises base::Exception "Database already in pool" when it is already idle.
    void pushDatabaseBackInPool(const std::shared_ptr<Database>& database);
    // Checks an open database out, or null (after a log line) at the limit, when the file will not open or
    // when the delegate refuses it.
    std::shared_ptr<Database> db();

    size_t countOfCheckedInDatabases() const;
    size_t countOfCheckedOutDatabases() const;
    size_t countOfOpenDatabases() const;
    // Forgets every database; each closes when its last user lets it go.
    void releaseAllDatabases();

    // Runs the block with a checked-out database (null when none could be had) and checks it back in.
    void inDatabase(const DatabaseBlock& block);
    // As DatabaseQueue's transactions: the block is not run when the transaction cannot begin, a failed
    // commit is rolled back, and the result is true only when the work was committed.
    [[nodiscard]] bool beginTransaction(bool deferred, const TransactionBlock& block);
    [[nodiscard]] bool inDeferredTransaction(const TransactionBlock& block) { return beginTransaction(true, block); }
    [[nodiscard]] bool inTransaction(const TransactionBlock& block) { return beginTransaction(false, block); }
    [[nodiscard]] std::optional<base::Error> inSavePoint(const TransactionBlock& block);

    [[nodiscard]] std::optional<std::string> path() const;
    void setPath(std::optional<std::string> path);
    std::weak_ptr<DatabasePoolDelegate> delegate() const;
    void setDelegate(std::weak_ptr<DatabasePoolDelegate> delegate);
    // 0 means no limit.
    size_t maximumNumberOfDatabasesToCreate() const;
    void setMaximumNumberOfDatabasesToCreate(size_t maximum);

private:
    void forget(const std::shared_ptr<Database>& database);

    mutable std::mutex m_lock;
    std::optional<std::string> m_path;
    std::vector<std::shared_ptr<Database>> m_databaseInPool;
    std::vector<std::shared_ptr<Database>> m_databaseOutPool;
    std::weak_ptr<DatabasePoolDelegate> m_delegate;
    size_t m_maximumNumberOfDatabasesToCreate { 0 };
};

} // namespace database
