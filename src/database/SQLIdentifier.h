// database::quoteIdentifier: a name made safe to paste into SQL as an identifier (save-point and table
// names), double-quoted with inner double quotes doubled, so no name can end the statement early.
//
//   db->executeUpdate("savepoint " + database::quoteIdentifier(name));
#pragma once

#include <string>
#include <string_view>

namespace database {

std::string quoteIdentifier(std::string_view name);

} // namespace database
