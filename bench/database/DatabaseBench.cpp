// The database layer beside the same work written directly against the sqlite3 C API, on a file in a
// temporary folder, tracing off: the application's pattern (open, one bound statement, close), 10,000 bound
// inserts in one transaction, and a 10,000-row select of five columns read by column name. The raw side opens
// its connections as ours does, without SQLite's mutex around every call; the select is also recorded with a
// serialized connection ("sqlite3serialized"), SQLite's default, to show what that mutex costs.
#include "database/Database.h"
#include "database/ResultSet.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <strings.h>

namespace {

constexpr int rowCount = 10000;
constexpr const char* createSQL
    = "create table if not exists message (id integer, name text, lat real, body text, time integer)";
constexpr const char* insertSQL = "insert into message (id, name, lat, body, time) values (?, ?, ?, ?, ?)";
constexpr const char* selectSQL = "select id, name, lat, body, time from message";
constexpr const char* selectOneSQL = "select id, name, lat, body, time from message where id = ?";

class BenchFolder {
public:
    BenchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lumet-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string file(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

struct Row {
    int id;
    std::string name;
    double lat;
    std::string body;
    int64_t time;
};

Row rowNumber(int i)
{
    return { i, "device " + std::to_string(i % 97), 22.5 + i * 1e-6, "message text number " + std::to_string(i),
        1400000000000 + i };
}

// Raw helpers.
constexpr int unlockedConnection = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
constexpr int serializedConnection = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

sqlite3* rawOpen(const std::string& path, int flags = unlockedConnection)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK)
        throw std::runtime_error("open");
    return db;
}

void rawBindRow(sqlite3_stmt* statement, const Row& row)
{
    sqlite3_bind_int64(statement, 1, row.id);
    sqlite3_bind_text(statement, 2, row.name.data(), static_cast<int>(row.name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_double(statement, 3, row.lat);
    sqlite3_bind_text(statement, 4, row.body.data(), static_cast<int>(row.body.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(statement, 5, row.time);
}

void rawInsertRows(sqlite3* db, int count)
{
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, insertSQL, -1, &statement, nullptr);
    for (int i = 0; i < count; ++i) {
        rawBindRow(statement, rowNumber(i));
        if (sqlite3_step(statement) != SQLITE_DONE)
            throw std::runtime_error("insert");
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
}

// A database file holding the table with `rows` rows, closed again.
void rawCreateFile(const std::string& path, int rows)
{
    sqlite3* setup = rawOpen(path);
    sqlite3_exec(setup, createSQL, nullptr, nullptr, nullptr);
    rawInsertRows(setup, rows);
    sqlite3_close(setup);
}

std::string rawText(sqlite3_stmt* statement, int index)
{
    auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, index))) : std::string();
}

int rawColumnIndex(sqlite3_stmt* statement, const char* name)
{
    for (int i = 0, count = sqlite3_column_count(statement); i < count; ++i)
        if (strcasecmp(sqlite3_column_name(statement, i), name) == 0)
            return i;
    return -1;
}

std::shared_ptr<database::Database> oursOpen(const std::string& path)
{
    auto db = database::Database::databaseWithPath(path);
    db->setTraceExecution(false);
    if (!db->open())
        throw std::runtime_error("open");
    return db;
}

// The application's pattern: open, one bound statement, close.

void appInsertOurs(benchmark::State& state)
{
    BenchFolder folder;
    std::string path = folder.file("app.sqlite");
    if (!oursOpen(path)->executeUpdate(createSQL)) {
        state.SkipWithError("could not create the table");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        auto db = oursOpen(path);
        Row row = rowNumber(i++);
        benchmark::DoNotOptimize(db->executeUpdate(insertSQL, row.id, row.name, row.lat, row.body, row.time));
        if (!db->close()) {
            state.SkipWithError("could not close the database");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void appInsertRaw(benchmark::State& state)
{
    BenchFolder folder;
    std::string path = folder.file("app.sqlite");
    rawCreateFile(path, 0);
    int i = 0;
    for (auto _ : state) {
        sqlite3* db = rawOpen(path);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, insertSQL, -1, &statement, nullptr);
        rawBindRow(statement, rowNumber(i++));
        benchmark::DoNotOptimize(sqlite3_step(statement));
        sqlite3_finalize(statement);
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations());
}

void appSelectOurs(benchmark::State& state)
{
    BenchFolder folder;
    std::string path = folder.file("app.sqlite");
    rawCreateFile(path, 100);
    int i = 0;
    for (auto _ : state) {
        auto db = oursOpen(path);
        auto rows = db->executeQuery(selectOneSQL, i++ % 100);
        while (rows->next()) {
            benchmark::DoNotOptimize(rows->intForColumn("id"));
            benchmark::DoNotOptimize(rows->stringForColumn("body"));
        }
        if (!db->close()) {
            state.SkipWithError("could not close the database");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void appSelectRaw(benchmark::State& state)
{
    BenchFolder folder;
    std::string path = folder.file("app.sqlite");
    rawCreateFile(path, 100);
    int i = 0;
    for (auto _ : state) {
        sqlite3* db = rawOpen(path);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, selectOneSQL, -1, &statement, nullptr);
        sqlite3_bind_int64(statement, 1, i++ % 100);
        int id = rawColumnIndex(statement, "id");
        int body = rawColumnIndex(statement, "body");
        while (sqlite3_step(statement) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int(statement, id));
            benchmark::DoNotOptimize(rawText(statement, body));
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations());
}

// 10,000 bound inserts in one transaction. Ours turns its statement cache on, as a caller running the same
// statement many times would.

void insertOurs(benchmark::State& state)
{
    BenchFolder folder;
    auto db = oursOpen(folder.file("insert.sqlite"));
    if (!db->executeUpdate(createSQL)) {
        state.SkipWithError("could not create the table");
        return;
    }
    db->setShouldCacheStatements(true);
    for (auto _ : state) {
        state.PauseTiming();
        bool emptied = db->executeUpdate("delete from message");
        state.ResumeTiming();
        bool stored = emptied && db->beginTransaction();
        for (int i = 0; stored && i < rowCount; ++i) {
            Row row = rowNumber(i);
            stored = db->executeUpdate(insertSQL, row.id, std::move(row.name), row.lat, std::move(row.body), row.time);
        }
        if (!stored || !db->commit()) {
            state.SkipWithError("the inserts did not commit");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * rowCount);
}

void insertRaw(benchmark::State& state)
{
    BenchFolder folder;
    sqlite3* db = rawOpen(folder.file("insert.sqlite"));
    sqlite3_exec(db, createSQL, nullptr, nullptr, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3_exec(db, "delete from message", nullptr, nullptr, nullptr);
        state.ResumeTiming();
        sqlite3_exec(db, "begin exclusive transaction", nullptr, nullptr, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, insertSQL, -1, &statement, nullptr);
        for (int i = 0; i < rowCount; ++i) {
            rawBindRow(statement, rowNumber(i));
            sqlite3_step(statement);
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        sqlite3_exec(db, "commit transaction", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * rowCount);
}

// A 10,000-row select of five columns, read by column name.

void selectOurs(benchmark::State& state)
{
    BenchFolder folder;
    std::string path = folder.file("select.sqlite");
    rawCreateFile(path, rowCount);
    auto db = oursOpen(path);
    for (auto _ : state) {
        auto rows = db->executeQuery(selectSQL);
        while (rows->next()) {
            Row row { rows->intForColumn("id"), rows->stringForColumn("name").value_or(""),
                rows->doubleForColumn("lat"), rows->stringForColumn("body").value_or(""), rows->longForColumn("time") };
            benchmark::DoNotOptimize(row);
        }
    }
    state.SetItemsProcessed(state.iterations() * rowCount);
}

void selectRaw(benchmark::State& state, int flags)
{
    BenchFolder folder;
    std::string path = folder.file("select.sqlite");
    sqlite3* db = rawOpen(path, flags);
    sqlite3_exec(db, createSQL, nullptr, nullptr, nullptr);
    rawInsertRows(db, rowCount);
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, selectSQL, -1, &statement, nullptr);
        int id = rawColumnIndex(statement, "id"), name = rawColumnIndex(statement, "name"),
            lat = rawColumnIndex(statement, "lat"), body = rawColumnIndex(statement, "body"),
            time = rawColumnIndex(statement, "time");
        while (sqlite3_step(statement) == SQLITE_ROW) {
            Row row { sqlite3_column_int(statement, id), rawText(statement, name),
                sqlite3_column_double(statement, lat), rawText(statement, body),
                sqlite3_column_int64(statement, time) };
            benchmark::DoNotOptimize(row);
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * rowCount);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("AppPattern/ours/insert", appInsertOurs);
    benchmark::RegisterBenchmark("AppPattern/sqlite3/insert", appInsertRaw);
    benchmark::RegisterBenchmark("AppPattern/ours/select", appSelectOurs);
    benchmark::RegisterBenchmark("AppPattern/sqlite3/select", appSelectRaw);
    benchmark::RegisterBenchmark("InsertInTransaction/ours/10000", insertOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("InsertInTransaction/sqlite3/10000", insertRaw)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SelectByName/ours/10000", selectOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SelectByName/sqlite3/10000", selectRaw, unlockedConnection)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SelectByName/sqlite3serialized/10000", selectRaw, serializedConnection)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
