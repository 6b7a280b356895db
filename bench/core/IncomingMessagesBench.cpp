// A reply of 5,000 (and 50,000) messages taken into the local message store: ours from the reply text to the
// last announcement on the main loop (parsing, the spool written and read back, one transaction on the
// storing queue, the spool cleared), beside the bare inserts of the same rows in one transaction with the
// sqlite3 C API. The store case times the message store's part alone: the decoded batch written in its one
// transaction by a thread other than the main one, as the storing queue does, in batches of 5,000 and of the
// 1 to 100 messages a poll brings. Its fair peer ("sqlite3bound") does what a batch needs with the C API: it
// opens the file, prepares the same three statements and runs them per message on a file of the same schema
// (its indexes kept with every insert), every column bound, the time formatted once per message, in one transaction,
// and closes the file, per batch as ours does; the bare one ("sqlite3") keeps its connection and statements, binds only
// the id and writes the rest as literals. Both store cases run their batches on one thread of their own, timed there,
// so that handing a batch to it counts on neither side.
#include "ScratchFolder.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"
#include "base/system/UserDefaults.h"
#include "core/messages/DBManager.h"
#include "core/messages/IncomingMessages.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <mutex>
#include <sqlite3.h>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr size_t messageCount = 5000;
constexpr size_t largeMessageCount = 50000;

void useScratchDataRoot()
{
    static const bool done = [] {
        if (auto folder = bench::makeScratchFolder("incoming-bench"); !folder.empty())
            setenv("LUMET_HOME", folder.c_str(), 1);
        base::UserDefaults::standard().setObject(base::Value("ann"), core::SettingsKeys::LoginName2);
        return true;
    }();
    (void)done;
}

std::string messageId(size_t round, size_t i) { return "r" + std::to_string(round) + "m" + std::to_string(i); }

std::string reply(size_t round, size_t count)
{
    std::string text = R"({"d":[)";
    for (size_t i = 0; i < count; ++i) {
        text += i ? "," : "";
        text += R"({"_id":")" + messageId(round, i)
            + R"(","Desc":"","Context":"message text","From":"LW3600000001","To":"ann","MsgType":3,)"
            + R"("CreateTime":"2026/12/07 10:00:00"})";
    }
    return text + "]}";
}

void storeOurs(benchmark::State& state, size_t count)
{
    useScratchDataRoot();
    std::filesystem::remove(core::DBManager::databasePath());
    size_t announced = 0;
    int observer = 0;
    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::ReceiveRemoteNotification, nullptr, [&](const base::Notification&) { ++announced; },
        &observer);
    size_t round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string text = reply(round++, count);
        announced = 0;
        state.ResumeTiming();
        core::IncomingMessages::store(text);
        if (!base::RunLoop::main().runUntil([&] { return core::IncomingMessages::storesInFlight() == 0; }, 60s)) {
            state.SkipWithError("the stores did not finish in time");
            break;
        }
        if (announced != count)
            state.SkipWithError("not every message was announced");
    }
    base::NotificationCenter::defaultCenter().removeObservers(&observer);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}

std::vector<core::PendingMessage> decodedBatch(size_t round, size_t count)
{
    std::vector<core::PendingMessage> batch;
    batch.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        auto message = std::make_shared<core::UserMessageQuery>();
        message->id_ = messageId(round, i);
        message->userName = "ann";
        message->context = "message text";
        message->desc = "";
        message->from = "LW3600000001";
        message->to = "ann";
        message->msgType = 3;
        message->createTime = base::Date::fromTimeIntervalSince1970(1796637600);
        batch.push_back({ std::move(message), core::PendingMessage::Place::MessageCentre });
    }
    return batch;
}

// A thread that runs one piece of work at a time for the case's thread and times it there.
class StoringThread {
public:
    StoringThread()
        : m_thread([this] { serve(); })
    {
    }
    ~StoringThread()
    {
        run(nullptr);
        m_thread.join();
    }

    // Runs `work` on the thread (none ends it); the seconds it took there.
    double run(std::function<void()> work)
    {
        std::unique_lock lock(m_mutex);
        m_work = std::move(work);
        m_pending = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_pending; });
        return m_seconds;
    }

private:
    void serve()
    {
        std::unique_lock lock(m_mutex);
        while (true) {
            m_changed.wait(lock, [this] { return m_pending; });
            if (!m_work) {
                m_pending = false;
                m_changed.notify_all();
                return;
            }
            auto start = std::chrono::steady_clock::now();
            m_work();
            m_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            m_pending = false;
            m_changed.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_work;
    bool m_pending { false };
    double m_seconds { 0 };
    std::thread m_thread;
};

// Runs `store` on a batch of `count` decoded messages per iteration, on a storing thread, timed there.
void storeBatches(
    benchmark::State& state, size_t count, const std::function<bool(const std::vector<core::PendingMessage>&)>& store)
{
    StoringThread thread;
    size_t round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto batch = decodedBatch(round++, count);
        state.ResumeTiming();
        bool stored = false;
        state.SetIterationTime(thread.run([&] { stored = store(batch); }));
        if (!stored) {
            state.SkipWithError("the batch was not stored");
            break;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}

void storeDecodedOurs(benchmark::State& state, size_t count)
{
    useScratchDataRoot();
    std::filesystem::remove(core::DBManager::databasePath());
    // The file and its tables are made before the batches, as the application makes them at launch and the
    // peer makes its own.
    bool made = false;
    StoringThread().run([&] { made = core::DBManager::saveIncomingMessages({}); });
    if (!made) {
        state.SkipWithError("the database could not be made");
        return;
    }
    storeBatches(state, count, [](const auto& batch) { return core::DBManager::saveIncomingMessages(batch); });
}

void execute(sqlite3* db, const std::string& sql) { sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr); }

sqlite3_stmt* prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    return statement;
}

sqlite3* openScratchDatabase(const char* name)
{
    auto path = (std::filesystem::path(getenv("LUMET_HOME")) / name).string();
    std::filesystem::remove(path);
    // As the message store opens its connection: without SQLite's mutex around every call.
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    return db;
}

void bindText(sqlite3_stmt* statement, int index, const std::optional<std::string>& text)
{
    if (text)
        sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()), SQLITE_STATIC);
    else
        sqlite3_bind_null(statement, index);
}

// The message's columns from `first` on, in the order of the message store's.
void bindMessage(sqlite3_stmt* statement, int first, const core::UserMessageQuery& message, const char* time)
{
    int index = first;
    for (const auto* text : { &message.id_, &message.userName, &message.context, &message.desc, &message.from,
             &message.to, &message.fromIconName, &message.toIconName })
        bindText(statement, index++, *text);
    if (message.msgType)
        sqlite3_bind_int64(statement, index++, *message.msgType);
    else
        sqlite3_bind_null(statement, index++);
    bindText(statement, index++, message.url);
    sqlite3_bind_text(statement, index, time, -1, SQLITE_STATIC);
}

void run(sqlite3_stmt* statement)
{
    sqlite3_step(statement);
    sqlite3_reset(statement);
}

void storeBound(benchmark::State& state, size_t count)
{
    useScratchDataRoot();
    sqlite3* made = openScratchDatabase("bound.sqlite");
    const std::string columns
        = "id_, userName, context, desc_, from_, to_, fromIconName, toIconName, msgType, url, createTime";
    const std::string types = "userName text, context text, desc_ text, from_ text, to_ text, fromIconName text, "
                              "toIconName text, msgType integer, url text, createTime text";
    // The message store's file holds the chat's tables beside the message centre's, a table of devices, and an
    // index over each table of messages that the pages of a conversation read; SQLite reads that whole schema
    // as a connection first prepares, and keeps the index with every insert.
    for (const char* name : { "q", "cq" }) {
        execute(made, std::string("create table ") + name + " (id_ text unique, " + types + ")");
        execute(made,
            std::string("create index ") + name + "Conversation on " + name
                + " (userName, from_, to_, coalesce(createTime, ''))");
    }
    execute(made, "create table l (partner text, id_ text, " + types + ")");
    execute(made, "create table cl (partner text, id_ text, " + types + ")");
    execute(made, "create table d (userName text, serialNumber text, DeviceName text, deviceTypeID integer)");
    sqlite3_close(made);
    auto path = (std::filesystem::path(getenv("LUMET_HOME")) / "bound.sqlite").string();
    storeBatches(state, count, [&](const std::vector<core::PendingMessage>& batch) {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
            return false;
        sqlite3_stmt* insert
            = prepare(db, "insert or ignore into q (" + columns + ") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        sqlite3_stmt* drop = prepare(db, "delete from l where userName is ? and partner is ?");
        sqlite3_stmt* list
            = prepare(db, "insert into l (partner, " + columns + ") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        execute(db, "begin exclusive");
        for (const core::PendingMessage& pending : batch) {
            const core::UserMessageQuery& message = *pending.message;
            std::time_t seconds = static_cast<std::time_t>(message.createTime->timeIntervalSince1970());
            std::tm parts {};
            gmtime_r(&seconds, &parts);
            char time[32];
            std::strftime(time, sizeof time, "%Y/%m/%d %H:%M:%S", &parts);
            bindMessage(insert, 1, message, time);
            run(insert);
            bindText(drop, 1, message.userName);
            bindText(drop, 2, message.from);
            run(drop);
            bindText(list, 1, message.from);
            bindMessage(list, 2, message, time);
            run(list);
        }
        bool committed = sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
        for (sqlite3_stmt* statement : { insert, drop, list })
            sqlite3_finalize(statement);
        return sqlite3_close(db) == SQLITE_OK && committed;
    });
}

void storeRaw(benchmark::State& state, size_t count)
{
    useScratchDataRoot();
    sqlite3* db = openScratchDatabase("raw.sqlite");
    execute(db,
        "create table if not exists q (id_ text unique, userName text, context text, desc_ text, from_ text, to_ "
        "text, msgType integer, createTime text)");
    execute(db,
        "create table if not exists l (partner text, id_ text, userName text, context text, desc_ text, from_ "
        "text, to_ text, msgType integer, createTime text)");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
        "insert or ignore into q values (?, 'ann', 'message text', '', 'LW3600000001', 'ann', 3, "
        "'2026/12/07 10:00:00')",
        -1, &insert, nullptr);
    sqlite3_stmt* drop = nullptr;
    sqlite3_prepare_v2(db, "delete from l where userName is 'ann' and partner is 'LW3600000001'", -1, &drop, nullptr);
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(db,
        "insert into l values ('LW3600000001', ?, 'ann', 'message text', '', 'LW3600000001', "
        "'ann', 3, '2026/12/07 10:00:00')",
        -1, &list, nullptr);
    size_t round = 0;
    StoringThread thread;
    for (auto _ : state) {
        state.SetIterationTime(thread.run([&] {
            execute(db, "begin immediate");
            for (size_t i = 0; i < count; ++i) {
                std::string id = messageId(round, i);
                for (sqlite3_stmt* statement : { insert, drop, list }) {
                    if (statement != drop)
                        sqlite3_bind_text(statement, 1, id.c_str(), -1, SQLITE_TRANSIENT);
                    sqlite3_step(statement);
                    sqlite3_reset(statement);
                }
            }
            execute(db, "commit");
        }));
        ++round;
    }
    for (sqlite3_stmt* statement : { insert, drop, list })
        sqlite3_finalize(statement);
    sqlite3_close(db);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}

const bool registered = [] {
    for (size_t count : { size_t(1), size_t(10), size_t(100), messageCount, largeMessageCount })
        benchmark::RegisterBenchmark(("IncomingBatch/ours/" + std::to_string(count)).c_str(), storeOurs, count)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    benchmark::RegisterBenchmark("IncomingBatch/sqlite3/5000", storeRaw, messageCount)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
    for (size_t count : { size_t(1), size_t(10), size_t(100), messageCount }) {
        std::string size = std::to_string(count);
        benchmark::RegisterBenchmark(("IncomingStore/ours/" + size).c_str(), storeDecodedOurs, count)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime();
        benchmark::RegisterBenchmark(("IncomingStore/sqlite3bound/" + size).c_str(), storeBound, count)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime();
    }
    benchmark::RegisterBenchmark("IncomingStore/sqlite3/5000", storeRaw, messageCount)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
    return true;
}();

} // namespace
