#include "database/DatabasePool.h"

#include "base/values/Exception.h"
#include "base/system/Log.h"
#include "database/Database.h"
#include "database/TransactionBlocks.h"

#include <algorithm>
#include <atomic>
#include <sqlite3.h>

namespace database {

namespace {

    bool contains(const std::vector<std::shared_ptr<Database>>& list, const std::shared_ptr<Database>& database)
    {
        return std::find(list.begin(), list.end(), database) != list.end();
    }

    base::Error noDatabaseError()
    {
        return base::Error("Database", SQLITE_CANTOPEN,
            { { base::Error::LocalizedDescriptionKey, "No database could be had from the pool." } });
    }

} // namespace

std::shared_ptr<DatabasePool> DatabasePool::databasePoolWithPath(std::optional<std::string> path)
{
    return std::make_shared<DatabasePool>(Private(), std::move(path));
}

DatabasePool::DatabasePool(Private, std::optional<std::string> path)
    : m_path(std::move(path))
{
}

void DatabasePool::pushDatabaseBackInPool(const std::shared_ptr<Database>& database)
{
    if (!database)
        return;
    std::lock_guard lock(m_lock);
    if (contains(m_databaseInPool, database))
        throw base::Exception(
            "Database already in pool", "The Database being put back into the pool is already present in the pool");
    m_databaseInPool.push_back(database);
    std::erase(m_databaseOutPool, database);
}

void DatabasePool::forget(const std::shared_ptr<Database>& database)
{
    std::erase(m_databaseInPool, database);
    std::erase(m_databaseOutPool, database);
}

std::shared_ptr<Database> DatabasePool::db()
{
    std::lock_guard lock(m_lock);
    std::shared_ptr<Database> database;
    if (!m_databaseInPool.empty()) {
        database = m_databaseInPool.back();
        m_databaseInPool.pop_back();
        m_databaseOutPool.push_back(database);
        // It now belongs to the thread that took it, whichever thread used it before.
        database->detachFromSequence();
    } else {
        if (m_maximumNumberOfDatabasesToCreate
            && m_databaseInPool.size() + m_databaseOutPool.size() >= m_maximumNumberOfDatabasesToCreate) {
            base::log("Maximum number of databases (" + std::to_string(m_maximumNumberOfDatabasesToCreate)
                + ") has already been reached!");
            return nullptr;
        }
        database = Database::databaseWithPath(m_path);
    }
    // A database that fails here is not handed out, so it must not stay counted in either list.
    if (!database->open()) {
        base::log("Could not open up the database at path " + m_path.value_or("(null)"));
        forget(database);
        return nullptr;
    }
    if (auto delegate = m_delegate.lock(); delegate && !delegate->shouldAddDatabaseToPool(*this, database)) {
        (void)database->close(); // refused: the connection closes when the last hold goes
        forget(database);
        return nullptr;
    }
    if (!contains(m_databaseOutPool, database))
        m_databaseOutPool.push_back(database);
    return database;
}

size_t DatabasePool::countOfCheckedInDatabases() const
{
    std::lock_guard lock(m_lock);
    return m_databaseInPool.size();
}

size_t DatabasePool::countOfCheckedOutDatabases() const
{
    std::lock_guard lock(m_lock);
    return m_databaseOutPool.size();
}

size_t DatabasePool::countOfOpenDatabases() const
{
    std::lock_guard lock(m_lock);
    return m_databaseInPool.size() + m_databaseOutPool.size();
}

void DatabasePool::releaseAllDatabases()
{
    // The databases close as they go, outside the lock.
    std::vector<std::shared_ptr<Database>> in, out;
    {
        std::lock_guard lock(m_lock);
        in.swap(m_databaseInPool);
        out.swap(m_databaseOutPool);
    }
}

void DatabasePool::inDatabase(const DatabaseBlock& block)
{
    auto database = db();
    if (block)
        block(database);
    pushDatabaseBackInPool(database);
}

bool DatabasePool::beginTransaction(bool deferred, const TransactionBlock& block)
{
    auto database = db();
    if (!database)
        return false;
    bool committed = runInTransaction(
        *database, deferred,
        [&](bool& rollback) {
            if (block)
                block(database, rollback);
        },
        "DatabasePool");
    pushDatabaseBackInPool(database);
    return committed;
}

std::optional<base::Error> DatabasePool::inSavePoint(const TransactionBlock& block)
{
    static std::atomic<long> counter { 0 };
    std::string name = "savePoint" + std::to_string(counter++);
    auto database = db();
    if (!database)
        return noDatabaseError();
    auto error = runInSavePoint(*database, name, [&](bool& rollback) {
        if (block)
            block(database, rollback);
    });
    pushDatabaseBackInPool(database);
    return error;
}

std::optional<std::string> DatabasePool::path() const
{
    std::lock_guard lock(m_lock);
    return m_path;
}

void DatabasePool::setPath(std::optional<std::string> path)
{
    std::lock_guard lock(m_lock);
    m_path = std::move(path);
}

std::weak_ptr<DatabasePoolDelegate> DatabasePool::delegate() const
{
    std::lock_guard lock(m_lock);
    return m_delegate;
}

void DatabasePool::setDelegate(std::weak_ptr<DatabasePoolDelegate> delegate)
{
    std::lock_guard lock(m_lock);
    m_delegate = std::move(delegate);
}

size_t DatabasePool::maximumNumberOfDatabasesToCreate() const
{
    std::lock_guard lock(m_lock);
    return m_maximumNumberOfDatabasesToCreate;
}

void DatabasePool::setMaximumNumberOfDatabasesToCreate(size_t maximum)
{
    std::lock_guard lock(m_lock);
    m_maximumNumberOfDatabasesToCreate = maximum;
}

} // namespace database
