// database::ColumnNames: the column names of one prepared statement, for reading a row's columns by name
// regardless of ASCII case. Built once per statement and kept with it, so the result sets of a cached statement
// share it; it is rebuilt when SQLite has prepared the statement again (after a schema change the names may
// differ). It also learns the order in which callers look the names up, which is the same for every row.
// Used on the thread of the statement's database.
//
//   database::ColumnNames names(handle);
//   int previous = -1;
//   int index = names.indexForName("Text", previous);
#pragma once

#include "database/StringHash.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3_stmt;

namespace database {

class ColumnNames {
public:
    using Map = std::unordered_map<std::string, int, CaseInsensitiveHash, CaseInsensitiveEqual>;

    // The names of the statement's columns; none for a null handle.
    explicit ColumnNames(sqlite3_stmt* statement);

    // Whether these are still the names of the statement (it has not been prepared again since).
    bool isCurrentFor(sqlite3_stmt* statement) const;

    // Lower-cased names to indices; a later column wins over an earlier one of the same name.
    const Map& map() const { return m_map; }

    // The column's index, or -1 when no column has that name. `previous` is the caller's place in its order of
    // lookups (-1 to start): the name that followed it last time is tried first.
    int indexForName(std::string_view name, int& previous)
    {
        // Callers read the columns of every row by the same names in the same order, so the column that
        // followed the previous one last time is usually the one asked for.
        int guess = previous < 0 ? m_firstLookup : m_nextLookup[previous];
        if (guess >= 0 && equalsLowercased(name, m_entries[guess].first)) {
            previous = guess;
            return m_entries[guess].second;
        }
        return searchIndexForName(name, previous);
    }

private:
    // indexForName when the guess is not the name.
    int searchIndexForName(std::string_view name, int& previous);

    Map m_map;
    // The map's entries in a row of memory, and for each entry the one looked up after it last time.
    std::vector<std::pair<std::string, int>> m_entries;
    std::vector<int> m_entryOfColumn;
    std::vector<int> m_nextLookup;
    int m_firstLookup { -1 };
    int m_prepareCount { 0 };
};

} // namespace database
