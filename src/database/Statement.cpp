#include "database/Statement.h"

#include "database/ColumnNames.h"

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

const std::shared_ptr<ColumnNames>& Statement::columnNames()
{
    if (!m_columnNames || !m_columnNames->isCurrentFor(m_statement))
        m_columnNames = std::make_shared<ColumnNames>(m_statement);
    return m_columnNames;
}

std::string Statement::description() const
{
    char address[64];
    std::snprintf(address, sizeof address, "<Statement: %p>", static_cast<const void*>(this));
    return std::string(address) + " " + std::to_string(m_useCount) + " hit(s) for query " + m_query;
}

} // namespace database
