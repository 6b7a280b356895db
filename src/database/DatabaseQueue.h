// database::DatabaseQueue: one open database shared between threads. Every piece of work runs with the
// database to itself, one after another: a call waits for the work of other threads and then runs its block
// on the calling thread. A block must not call its own queue (that would wait on itself): such a call is
// refused at once with a log line.
//
//   auto queue = database::DatabaseQueue::databaseQueueWithPath(path);
//   queue->inTransaction([&](const std::shared_ptr<database::Database>& db, bool& rollback) {
//       rollback = !db->executeUpdate("insert into chat (text) values (?)", text); });
#pragma once

#include "base/values/Error.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace database {

class Database;

class DatabaseQueue {
    struct Private {
        explicit Private() = default;
    };

public:
    using DatabaseBlock = std::function<void(const std::shared_ptr<Database>& database)>;
    using TransactionBlock = std::function<void(const std::shared_ptr<Database>& database, bool& rollback)>;

    // A queue over the opened file, or null (after a log line) when the file will not open.
    static std::shared_ptr<DatabaseQueue> databaseQueueWithPath(std::optional<std::string> path);
    DatabaseQueue(Private, std::optional<std::string> path, std::shared_ptr<Database> database);

    // Closes the database; the next piece of work reopens it.
    void close();
    // The open database, reopened after close(); null (after a log line) when it will not reopen.
    std::shared_ptr<Database> database();

    // Runs the block with the database (null when it cannot be opened).
    void inDatabase(const DatabaseBlock& block);
    // Runs the block inside a transaction: rolled back when the block sets its flag, committed otherwise.
    // The block is not run when the transaction cannot begin; a failed commit is rolled back. True only when
    // the block's work was committed.
    [[nodiscard]] bool beginTransaction(bool deferred, const TransactionBlock& block);
    [[nodiscard]] bool inDeferredTransaction(const TransactionBlock& block) { return beginTransaction(true, block); }
    [[nodiscard]] bool inTransaction(const TransactionBlock& block) { return beginTransaction(false, block); }
    // Runs the block inside a save point; returns the error of the save-point statement that failed.
    [[nodiscard]] std::optional<base::Error> inSavePoint(const TransactionBlock& block);

    [[nodiscard]] std::optional<std::string> path() const;
    void setPath(std::optional<std::string> path);

private:
    class Turn;
    bool calledFromOwnBlock(const char* operation) const;

    mutable std::mutex m_pathMutex;
    std::optional<std::string> m_path;
    std::mutex m_workMutex;
    std::atomic<std::thread::id> m_workingThread;
    std::shared_ptr<Database> m_db;
};

} // namespace database
