#include "tracking-service/ServiceStore.h"

#include "base/system/Log.h"
#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "database/Database.h"
#include "database/DatabaseAdditions.h"
#include "database/ResultSet.h"
#include "database/TransactionBlocks.h"
#include "json/JSONDecoder.h"
#include "json/JSONParseOptions.h"
#include "json/JSONSerializer.h"

#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace tracking_service {

namespace {

    constexpr const char* Schema[] = {
        "create table if not exists accounts (name text primary key, password text not null, token text)",
        "create table if not exists sessions (id text primary key, account text not null)",
        "create table if not exists devices (serial text primary key, account text not null, name text not null, "
        "type integer not null, online integer not null)",
        "create table if not exists documents (serial text not null, kind text not null, json text not null, "
        "primary key (serial, kind))",
        "create table if not exists messages (seq integer primary key autoincrement, account text not null, "
        "json text not null, popped integer not null default 0)",
        "create table if not exists files (name text primary key, bytes blob not null)",
        "create table if not exists uploads (seq integer primary key autoincrement, to_ text, from_ text, "
        "msg_type text, context text, is_to_device text, file_name text)",
    };

    // JSON texts only hold arrays and objects at the top, so a stored value is wrapped in a one-element array.
    std::optional<std::string> encode(const base::Value& value)
    {
        return json::JSONString(base::Array::make({ value }));
    }

    std::optional<base::Value> decode(std::string_view text, json::ParseOptions options = json::JSONParseStrict)
    {
        // Other options than strict judge ill-formed UTF-8 themselves: the text form would refuse it whole.
        auto wrapper = options == json::JSONParseStrict
            ? json::objectFromJSONString(text)
            : json::objectFromJSONData(base::Data(text.begin(), text.end()), options);
        if (!wrapper || !wrapper->array() || wrapper->array()->count() != 1)
            return std::nullopt;
        return wrapper->array()->objectAtIndex(0);
    }

    constexpr const char* StoreFileName = "service.sqlite";

    // The store holds passwords, phone numbers and messages: its folder is its owner's alone (0700) and so is
    // each of its files (0600). The database file is made before SQLite opens it, since SQLite gives its
    // journal files the database file's mode; files of an earlier, laxer run are tightened.
    void keepPrivate(const std::filesystem::path& folder)
    {
        namespace fs = std::filesystem;
        std::error_code error;
        fs::create_directories(folder, error);
        fs::permissions(folder, fs::perms::owner_all, error);
        int made = ::open((folder / StoreFileName).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (made >= 0)
            ::close(made);
        for (const char* suffix : { "", "-wal", "-shm", "-journal" }) {
            fs::path file = folder / (std::string(StoreFileName) + suffix);
            if (fs::exists(file, error))
                fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, error);
        }
    }

    // A changeable copy of an object value; null for any other kind.
    std::shared_ptr<base::MutableDictionary> changeableCopy(const base::Value* value)
    {
        return value && value->dictionary() ? value->dictionary()->mutableCopy() : nullptr;
    }

    std::string newSessionId()
    {
        static std::mutex mutex;
        static std::random_device device;
        static std::mt19937_64 generator(device());
        std::lock_guard lock(mutex);
        char text[33];
        std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(generator()),
            static_cast<unsigned long long>(generator()));
        return text;
    }

} // namespace

ServiceStore::ServiceStore(const std::filesystem::path& folder)
{
    keepPrivate(folder);
    m_database = database::Database::databaseWithPath((folder / StoreFileName).string());
    // The service answers many requests; the statement trace would drown its own request log.
    m_database->setTraceExecution(false);
    m_database->setLogsErrors(true);
    m_open = m_database->open() && useWriteAheadLog() && createTables();
    if (!m_open)
        base::log("tracking-service: cannot open the store in " + folder.string());
    m_database->detachFromSequence();
}

ServiceStore::~ServiceStore()
{
    m_database->detachFromSequence();
    // Every write was committed when it was made; a failed close loses nothing.
    (void)m_database->close();
}

ServiceStore::Turn::~Turn() { m_store.m_database->detachFromSequence(); }

bool ServiceStore::isOpen() const { return m_open; }

// Commits append to a write-ahead log without waiting for the disk, so a sign-in's writes (its push token and
// its session) cost no fsync; the log is synced and folded into the file at checkpoints and when the store
// closes. A process that stops, cleanly or not, loses no committed write; only a crash of the machine may lose
// the last ones, which the stand-in's data can afford.
bool ServiceStore::useWriteAheadLog()
{
    return database::stringForQuery(*m_database, "pragma journal_mode = wal") == "wal"
        && m_database->executeUpdate("pragma synchronous = normal");
}

bool ServiceStore::createTables()
{
    for (const char* statement : Schema) {
        if (!m_database->executeUpdate(statement))
            return false;
    }
    return true;
}

bool ServiceStore::isEmpty()
{
    Turn turn(*this);
    return database::intForQuery(*m_database, "select count(*) from accounts") == 0;
}

bool ServiceStore::addAccount(std::string_view name, std::string_view password)
{
    Turn turn(*this);
    return m_database->executeUpdate("insert or replace into accounts (name, password) values (?, ?)", name, password);
}

bool ServiceStore::checkPassword(std::string_view name, std::string_view password)
{
    Turn turn(*this);
    auto stored = database::stringForQuery(*m_database, "select password from accounts where name = ?", name);
    return stored && *stored == password;
}

bool ServiceStore::setPassword(std::string_view account, std::string_view password)
{
    Turn turn(*this);
    return m_database->executeUpdate("update accounts set password = ? where name = ?", password, account)
        && m_database->changes() == 1;
}

bool ServiceStore::setPushToken(std::string_view account, std::string_view token)
{
    Turn turn(*this);
    return m_database->executeUpdate("update accounts set token = ? where name = ?", token, account)
        && m_database->changes() == 1;
}

std::optional<std::string> ServiceStore::pushToken(std::string_view account)
{
    Turn turn(*this);
    return database::stringForQuery(*m_database, "select token from accounts where name = ?", account);
}

std::string ServiceStore::openSession(std::string_view account)
{
    std::string id = newSessionId();
    Turn turn(*this);
    if (!m_database->executeUpdate("insert into sessions (id, account) values (?, ?)", id, account))
        base::log("tracking-service: the session could not be stored; its cookie will not be known");
    return id;
}

std::optional<std::string> ServiceStore::sessionAccount(std::string_view sessionId)
{
    Turn turn(*this);
    return database::stringForQuery(*m_database, "select account from sessions where id = ?", sessionId);
}

bool ServiceStore::closeAllSessions()
{
    Turn turn(*this);
    return m_database->executeUpdate("delete from sessions");
}

bool ServiceStore::addDevice(const DeviceRow& device)
{
    Turn turn(*this);
    return m_database->executeUpdate(
        "insert or replace into devices (serial, account, name, type, online) values (?, ?, ?, ?, ?)",
        device.serialNumber, device.account, device.name, device.typeID, device.onLineState);
}

std::vector<DeviceRow> ServiceStore::devicesOf(std::string_view account)
{
    Turn turn(*this);
    std::vector<DeviceRow> devices;
    auto rows = m_database->executeQuery(
        "select serial, name, type, online from devices where account = ? order by rowid", account);
    while (rows && rows->next()) {
        devices.push_back({ rows->stringForColumnIndex(0).value_or(""), std::string(account),
            rows->stringForColumnIndex(1).value_or(""), rows->longLongIntForColumnIndex(2),
            rows->longLongIntForColumnIndex(3) });
    }
    return devices;
}

std::optional<std::string> ServiceStore::deviceOwner(std::string_view serialNumber)
{
    Turn turn(*this);
    return database::stringForQuery(*m_database, "select account from devices where serial = ?", serialNumber);
}

bool ServiceStore::renameDevice(std::string_view serialNumber, std::string_view name)
{
    Turn turn(*this);
    if (!m_database->executeUpdate("update devices set name = ? where serial = ?", name, serialNumber)
        || m_database->changes() != 1)
        return false;
    auto detail = readDocument(serialNumber, DetailDocument);
    auto fields = changeableCopy(detail ? &*detail : nullptr);
    if (!fields)
        return true;
    fields->setObject(base::Value(name), "DeviceName");
    return writeDocument(serialNumber, DetailDocument, base::Value(fields->copy()));
}

bool ServiceStore::setDocument(std::string_view serialNumber, std::string_view kind, const base::Value& value)
{
    Turn turn(*this);
    return writeDocument(serialNumber, kind, value);
}

std::optional<base::Value> ServiceStore::document(std::string_view serialNumber, std::string_view kind)
{
    Turn turn(*this);
    return readDocument(serialNumber, kind);
}

bool ServiceStore::writeDocument(std::string_view serialNumber, std::string_view kind, const base::Value& value)
{
    auto text = encode(value);
    return text
        && m_database->executeUpdate(
            "insert or replace into documents (serial, kind, json) values (?, ?, ?)", serialNumber, kind, *text);
}

std::optional<base::Value> ServiceStore::readDocument(std::string_view serialNumber, std::string_view kind)
{
    auto text = database::stringForQuery(
        *m_database, "select json from documents where serial = ? and kind = ?", serialNumber, kind);
    return text ? decode(*text) : std::nullopt;
}

std::optional<base::Value> ServiceStore::appendToDocument(
    std::string_view serialNumber, std::string_view kind, const base::Value& item)
{
    Turn turn(*this);
    auto stored = readDocument(serialNumber, kind);
    auto items = stored && stored->array() ? stored->array()->mutableCopy() : base::MutableArray::make();
    items->addObject(item);
    base::Value all(items->copy());
    if (!writeDocument(serialNumber, kind, all))
        return std::nullopt;
    return all;
}

bool ServiceStore::changeDetail(std::string_view serialNumber, const DetailChange& change)
{
    Turn turn(*this);
    auto detail = readDocument(serialNumber, DetailDocument);
    auto fields = changeableCopy(detail ? &*detail : nullptr);
    if (!fields || !change(*fields))
        return false;
    return writeDocument(serialNumber, DetailDocument, base::Value(fields->copy()));
}

bool ServiceStore::setDetailFields(std::string_view serialNumber, const std::vector<DetailField>& fields)
{
    return changeDetail(serialNumber, [&fields](base::MutableDictionary& detail) {
        for (const DetailField& field : fields) {
            if (field.configuration.empty()) {
                detail.setObject(field.value, field.key);
                continue;
            }
            auto nested = changeableCopy(detail.objectForKey(field.configuration));
            if (!nested)
                return false;
            nested->setObject(field.value, field.key);
            detail.setObject(base::Value(nested->copy()), field.configuration);
        }
        return true;
    });
}

std::optional<base::Value> ServiceStore::takeStepCount(std::string_view serialNumber, int64_t steps)
{
    Turn turn(*this);
    auto count = readDocument(serialNumber, StepCountDocument);
    if (!count || !count->isNumber())
        return count;
    if (!writeDocument(serialNumber, StepCountDocument, base::Value(count->longLongValue() + steps)))
        return std::nullopt;
    return count;
}

bool ServiceStore::queueMessage(std::string_view account, const base::Value& message)
{
    auto text = encode(message);
    if (!text)
        return false;
    Turn turn(*this);
    return m_database->executeUpdate("insert into messages (account, json) values (?, ?)", account, *text);
}

ServiceStore::MessagesInFlight ServiceStore::sendMessages(std::string_view account)
{
    Turn turn(*this);
    MessagesInFlight sent;
    auto rows = m_database->executeQuery(
        "select seq, json from messages where account = ? and popped = 0 order by seq", account);
    while (rows && rows->next()) {
        int64_t position = rows->longLongIntForColumnIndex(0);
        if (m_messagesInFlight.contains(position))
            continue;
        // A text that is not well-formed UTF-8, or an escape of no character, goes out with U+FFFD in its
        // place, as the application reads and stores it. A row that cannot be read back even so goes in no
        // reply: it stays queued, so nothing marks it delivered unsent.
        auto message = decode(rows->stringForColumnIndex(1).value_or(""), json::JSONParseReplaceInvalidUnicode);
        if (!message || !encode(*message)) {
            if (m_unreadableMessages.insert(position).second)
                base::log("tracking-service: waiting message " + std::to_string(position)
                    + " cannot be read; it stays queued and is not sent");
            continue;
        }
        m_messagesInFlight.insert(position);
        sent.positions.push_back(position);
        sent.messages.push_back(std::move(*message));
    }
    return sent;
}

void ServiceStore::finishDelivery(const std::vector<int64_t>& positions, bool delivered)
{
    {
        Turn turn(*this);
        for (int64_t position : positions)
            m_messagesInFlight.erase(position);
        // A reply's messages are marked in one transaction: a service stopped on the way leaves all of them
        // queued or all delivered, never hands a part of a reply out again, and pays one commit, not one a row.
        auto markAll = [&](bool& rollback) {
            for (size_t marked = 0; marked < positions.size() && !rollback; ++marked)
                rollback
                    = !m_database->executeUpdate("update messages set popped = 1 where seq = ?", positions[marked]);
        };
        if (delivered && !database::runInTransaction(*m_database, false, markAll, "tracking-service"))
            base::log("tracking-service: the messages of a delivered reply could not be marked; they wait again");
    }
    m_deliveryFinished.notify_all();
}

bool ServiceStore::awaitDeliveries(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_deliveryFinished.wait_for(lock, limit, [this] { return m_messagesInFlight.empty(); });
}

bool ServiceStore::putFile(std::string_view name, const base::Data& bytes)
{
    Turn turn(*this);
    return m_database->executeUpdate("insert or replace into files (name, bytes) values (?, ?)", name, bytes);
}

std::optional<base::Data> ServiceStore::file(std::string_view name)
{
    Turn turn(*this);
    auto rows = m_database->executeQuery("select bytes from files where name = ?", name);
    if (!rows || !rows->next())
        return std::nullopt;
    // An empty blob reads back as NULL.
    auto bytes = rows->dataForColumnIndex(0).value_or(base::Data {});
    rows->close();
    return bytes;
}

std::optional<VoiceUpload> ServiceStore::recordUpload(VoiceUpload upload, const std::optional<base::Data>& file)
{
    Turn turn(*this);
    if (!m_database->executeUpdate(
            "insert into uploads (to_, from_, msg_type, context, is_to_device) values (?, ?, ?, ?, ?)", upload.to,
            upload.from, upload.msgType, upload.context, upload.isToDevice))
        return std::nullopt;
    const int64_t number = m_database->lastInsertRowId();
    if (file) {
        upload.fileName = "upload-" + std::to_string(number) + ".amr";
        if (!m_database->executeUpdate(
                "insert or replace into files (name, bytes) values (?, ?)", upload.fileName, *file)
            || !m_database->executeUpdate("update uploads set file_name = ? where seq = ?", upload.fileName, number))
            return std::nullopt;
    }
    return upload;
}

std::vector<VoiceUpload> ServiceStore::uploads()
{
    Turn turn(*this);
    std::vector<VoiceUpload> uploads;
    auto rows = m_database->executeQuery(
        "select to_, from_, msg_type, context, is_to_device, file_name from uploads order by seq");
    while (rows && rows->next()) {
        VoiceUpload upload;
        std::string* fields[]
            = { &upload.to, &upload.from, &upload.msgType, &upload.context, &upload.isToDevice, &upload.fileName };
        for (int column = 0; column < 6; ++column)
            *fields[column] = rows->stringForColumnIndex(column).value_or("");
        uploads.push_back(std::move(upload));
    }
    return uploads;
}

} // namespace tracking_service
