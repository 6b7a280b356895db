// database::Statement: one prepared SQLite statement and the SQL text it came from. Shared by the statement
// cache and the result set that reads it; the handle is finalised when the last owner lets it go or when
// close() is called. Used on the thread of its database.
//
//   auto statement = std::make_shared<database::Statement>(handle, "select 1");
//   statement->reset();
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct sqlite3_stmt;

namespace database {

class ColumnNames;

class Statement {
public:
    Statement(sqlite3_stmt* statement, std::string query);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Finalises the handle, if any, and forgets it.
    void close();
    // Rewinds the handle so it can run again; bound values stay.
    void reset();

    sqlite3_stmt* statement() const { return m_statement; }
    const std::string& query() const { return m_query; }
    void setQuery(std::string query) { m_query = std::move(query); }
    // How many times the statement was handed to a run.
    int64_t useCount() const { return m_useCount; }
    void setUseCount(int64_t useCount) { m_useCount = useCount; }
    // Set while a run (a live result set or an update) owns the handle, so the cache never hands it out twice.
    bool inUse() const { return m_inUse; }
    void setInUse(bool inUse) { m_inUse = inUse; }

    // The names of the statement's columns: built at the first call, again once SQLite has prepared it anew.
    const std::shared_ptr<ColumnNames>& columnNames();

    std::string description() const;

private:
    sqlite3_stmt* m_statement;
    std::string m_query;
    int64_t m_useCount { 0 };
    bool m_inUse { false };
    std::shared_ptr<ColumnNames> m_columnNames;
};

} // namespace database
