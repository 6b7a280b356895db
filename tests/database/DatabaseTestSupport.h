// Shared helpers of the database tests: a database file in a temporary folder, a second raw connection to
// hold locks on it, and a quiet open database.
#pragma once

#include "base/system/Log.h"
#include "database/Database.h"
#include "database/ResultSet.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>
#include <string>

namespace test {

inline std::shared_ptr<database::Database> openQuietly(std::optional<std::string> path)
{
    auto db = database::Database::databaseWithPath(std::move(path));
    db->setTraceExecution(false);
    EXPECT_TRUE(db->open());
    return db;
}

// A plain connection to the same file, used to hold locks the way another process would.
class OtherConnection {
public:
    explicit OtherConnection(const std::string& path) { EXPECT_EQ(sqlite3_open(path.c_str(), &m_db), SQLITE_OK); }
    ~OtherConnection() { sqlite3_close(m_db); }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;

    int run(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db { nullptr };
};

class DatabaseFileTest : public ::testing::Test {
protected:
    std::string path() const { return (m_dir.path() / "dataBase.sqlite").string(); }
    std::shared_ptr<database::Database> openFile() { return openQuietly(path()); }

private:
    TempDir m_dir;
};

} // namespace test
