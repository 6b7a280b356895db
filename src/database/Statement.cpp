#include "database/Statement.h"

#include <cstdio>
#include <sqlite3.h>

namespace database {

Statement::Statement(sqlite3_stmt* statement, std::string query)
    : m_statement(statement)
    , m_query(std::move(query))
{
}

Statement::~Statement() { close(); }

void Statement::close()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
    m_statement = nullptr;
}

void Statement::reset()
{
    if (m_statement)
        sqlite3_reset(m_statement);
}

std::string Statement::description() const
{
    char address[64];
    std::snprintf(address, sizeof address, "<Statement: %p>", static_cast<const void*>(this));
    return std::string(address) + " " + std::to_string(m_useCount) + " hit(s) for query " + m_query;
}

} // namespace database
