// Running a block of work inside a transaction or a save point of one database, the way Database,
// DatabaseQueue and DatabasePool all do it. A block asks for its changes to be undone by setting its flag.
//
//   bool committed = database::runInTransaction(*db, false, [&](bool& rollback) { rollback = !db->executeUpdate(sql);
//   }, "DatabaseQueue");
#pragma once

#include "base/values/Error.h"

#include <functional>
#include <optional>
#include <string>

namespace database {

class Database;

// Begins a deferred or an exclusive transaction, runs the block, then rolls back when the block set its
// flag and commits otherwise. The block is not run when the transaction cannot begin; a commit that fails is
// rolled back. True only when the work was committed; failures are logged with `owner` in the line.
[[nodiscard]] bool runInTransaction(
    Database& database, bool deferred, const std::function<void(bool& rollback)>& block, const char* owner);

// Starts the named save point, runs the block, then rolls back to the save point when the block set its
// flag, and releases it in both cases, so the connection never stays inside a transaction it did not ask
// for. Returns the error of the save-point statement that failed, or nothing.
[[nodiscard]] std::optional<base::Error> runInSavePoint(
    Database& database, const std::string& name, const std::function<void(bool& rollback)>& block);

} // namespace database
