#include "database/ColumnNames.h"

#include <sqlite3.h>

namespace database {

namespace {

    int prepareCount(sqlite3_stmt* statement)
    {
        return statement ? sqlite3_stmt_status(statement, SQLITE_STMTSTATUS_REPREPARE, 0) : 0;
    }

} // namespace

ColumnNames::ColumnNames(sqlite3_stmt* statement)
    : m_prepareCount(prepareCount(statement))
{
    int count = statement ? sqlite3_column_count(statement) : 0;
    m_map.reserve(count);
    for (int index = 0; index < count; ++index)
        m_map.insert_or_assign(asciiLowercase(sqlite3_column_name(statement, index)), index);
    m_entries.assign(m_map.begin(), m_map.end());
    m_nextLookup.assign(m_entries.size(), -1);
    m_entryOfColumn.assign(count, -1);
    for (size_t entry = 0; entry < m_entries.size(); ++entry)
        m_entryOfColumn[m_entries[entry].second] = static_cast<int>(entry);
}

bool ColumnNames::isCurrentFor(sqlite3_stmt* statement) const { return prepareCount(statement) == m_prepareCount; }

int ColumnNames::searchIndexForName(std::string_view name, int& previous)
{
    // A few columns are compared in a row of memory, many are hashed.
    constexpr size_t directComparisonLimit = 8;
    int found = -1;
    if (m_entries.size() <= directComparisonLimit) {
        for (size_t entry = 0; entry < m_entries.size() && found < 0; ++entry)
            if (equalsLowercased(name, m_entries[entry].first))
                found = static_cast<int>(entry);
    } else if (auto hit = m_map.find(name); hit != m_map.end())
        found = m_entryOfColumn[hit->second];

    if (found < 0)
        return -1;
    (previous < 0 ? m_firstLookup : m_nextLookup[previous]) = found;
    previous = found;
    return m_entries[found].second;
}

} // namespace database
