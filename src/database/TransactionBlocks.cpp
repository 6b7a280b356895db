#include "database/TransactionBlocks.h"

#include "base/system/Log.h"
#include "database/Database.h"

namespace database {

bool runInTransaction(
    Database& database, bool deferred, const std::function<void(bool& rollback)>& block, const char* owner)
{
    bool begun = deferred ? database.beginDeferredTransaction() : database.beginTransaction();
    if (!begun) {
        base::log(std::string(owner) + ": could not begin a transaction (" + database.lastErrorMessage()
            + "); the block was not run");
        return false;
    }
    bool rollback = false;
    if (block)
        block(rollback);
    if (rollback) {
        (void)database.rollback(); // if even that fails, closing the connection rolls the transaction back
        return false;
    }
    if (database.commit())
        return true;
    base::log(
        std::string(owner) + ": could not commit the transaction (" + database.lastErrorMessage() + "); rolled back");
    (void)database.rollback(); // as above: a failed rollback is undone when the connection closes
    return false;
}

std::optional<base::Error> runInSavePoint(
    Database& database, const std::string& name, const std::function<void(bool& rollback)>& block)
{
    base::Error error;
    if (!database.startSavePointWithName(name, &error))
        return error;
    bool rollback = false;
    if (block)
        block(rollback);
    if (rollback && !database.rollbackToSavePointWithName(name, &error))
        return error;
    if (!database.releaseSavePointWithName(name, &error))
        return error;
    return std::nullopt;
}

} // namespace database
