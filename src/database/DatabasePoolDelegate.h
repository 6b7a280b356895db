// database::DatabasePoolDelegate: lets the owner of a DatabasePool veto a database before it is handed
// out. Called on the thread that asks the pool for a database, with the pool's lists locked: it must not
// call back into the pool.
#pragma once

#include <memory>

namespace database {

class Database;
class DatabasePool;

class DatabasePoolDelegate {
public:
    virtual ~DatabasePoolDelegate() = default;
    // False closes the database and hands out nothing. Not overriding it accepts every database.
    virtual bool shouldAddDatabaseToPool(DatabasePool&, const std::shared_ptr<Database>&) { return true; }
};

} // namespace database
