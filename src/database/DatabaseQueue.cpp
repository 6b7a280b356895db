#include "database/DatabaseQueue.h"

#include "base/system/Log.h"
#include "database/Database.h"
#include "database/TransactionBlocks.h"

#include <sqlite3.h>

namespace database {

// Holds the queue for one piece of work and records which thread runs it, so that a call from inside the
// block can be told apart from a call of another thread, which simply waits its turn.
class DatabaseQueue::Turn {
public:
    explicit Turn(DatabaseQueue& queue)
        : m_queue(queue)
        , m_lock(queue.m_workMutex)
    {
        m_queue.m_workingThread = std::this_thread::get_id();
        // The connection is this thread's for the turn, whichever thread had it before.
        if (m_queue.m_db)
            m_queue.m_db->detachFromSequence();
    }
    ~Turn() { m_queue.m_workingThread = std::thread::id(); }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;

private:
    DatabaseQueue& m_queue;
    std::lock_guard<std::mutex> m_lock;
};

std::shared_ptr<DatabaseQueue> DatabaseQueue::databaseQueueWithPath(std::optional<std::string> path)
{
    auto database = Database::databaseWithPath(path);
    if (!database->open()) {
        base::log("Could not create database queue for path " + path.value_or("(null)"));
        return nullptr;
    }
    return std::make_shared<DatabaseQueue>(Private(), std::move(path), std::move(database));
}

DatabaseQueue::DatabaseQueue(Private, std::optional<std::string> path, std::shared_ptr<Database> database)
    : m_path(std::move(path))
    , m_db(std::move(database))
{
}

bool DatabaseQueue::calledFromOwnBlock(const char* operation) const
{
    if (m_workingThread.load() != std::this_thread::get_id())
        return false;
    base::log(std::string("DatabaseQueue::") + operation
        + " called from inside a block of the same queue; refused, it would wait on itself");
    return true;
}

void DatabaseQueue::close()
{
    if (calledFromOwnBlock("close"))
        return;
    Turn turn(*this);
    if (m_db)
        (void)m_db->close(); // refused: the connection closes when the last hold goes
    m_db = nullptr;
}

std::shared_ptr<Database> DatabaseQueue::database()
{
    if (!m_db) {
        auto path = this->path();
        auto database = Database::databaseWithPath(path);
        if (!database->open()) {
            base::log("DatabaseQueue could not reopen database for path " + path.value_or("(null)"));
            return nullptr;
        }
        m_db = std::move(database);
    }
    return m_db;
}

void DatabaseQueue::inDatabase(const DatabaseBlock& block)
{
    if (calledFromOwnBlock("inDatabase"))
        return;
    Turn turn(*this);
    auto database = this->database();
    if (block)
        block(database);
    if (database && database->hasOpenResultSets())
        base::log("Warning: there is at least one open result set around after performing [DatabaseQueue inDatabase:]");
}

bool DatabaseQueue::beginTransaction(bool deferred, const TransactionBlock& block)
{
    if (calledFromOwnBlock("beginTransaction"))
        return false;
    Turn turn(*this);
    auto database = this->database();
    if (!database)
        return false;
    return runInTransaction(
        *database, deferred,
        [&](bool& rollback) {
            if (block)
                block(database, rollback);
        },
        "DatabaseQueue");
}

std::optional<base::Error> DatabaseQueue::inSavePoint(const TransactionBlock& block)
{
    static std::atomic<long> counter { 0 };
    if (calledFromOwnBlock("inSavePoint"))
        return base::Error("Database", SQLITE_MISUSE,
            { { base::Error::LocalizedDescriptionKey, "The queue was called from inside its own block." } });
    Turn turn(*this);
    std::string name = "savePoint" + std::to_string(counter++);
    auto database = this->database();
    if (!database)
        return base::Error("Database", SQLITE_CANTOPEN,
            { { base::Error::LocalizedDescriptionKey, "The database could not be opened." } });
    return runInSavePoint(*database, name, [&](bool& rollback) {
        if (block)
            block(database, rollback);
    });
}

std::optional<std::string> DatabaseQueue::path() const
{
    std::lock_guard lock(m_pathMutex);
    return m_path;
}

void DatabaseQueue::setPath(std::optional<std::string> path)
{
    std::lock_guard lock(m_pathMutex);
    m_path = std::move(path);
}

} // namespace database
