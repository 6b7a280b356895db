#include "core/messages/DBManager.h"

#include "base/loop/MainThread.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "base/system/UserDefaults.h"
#include "core/messages/KeptAside.h"
#include "core/state/SettingsKeys.h"
#include "database/Database.h"
#include "database/DatabaseAdditions.h"
#include "database/ResultSet.h"

#include <algorithm>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

namespace core {

using database::Database;
using database::ResultSet;

namespace {

    constexpr const char* ChatQuery = "UserChatQuery";
    constexpr const char* ChatList = "UserChatList";
    constexpr const char* MessageQuery = "UserMessageQuery";
    constexpr const char* MessageList = "UserMessageList";

    // SQLite's primary result codes for a damaged file and for a file that is not a database.
    constexpr int Corrupt = 11;
    constexpr int NotADatabase = 26;

    bool isDamageCode(int code) { return (code & 0xff) == Corrupt || (code & 0xff) == NotADatabase; }

    // Raised when the tables or their indexes change, so that an older file is brought up to date: every
    // statement of createTablesIn leaves what is already there as it is. 2 added the conversation indexes.
    constexpr int SchemaVersion = 2;

    constexpr const char* MessageColumns = "id_, userName, context, desc_, from_, to_, fromIconName, toIconName, "
                                           "msgType, url, createTime";
    constexpr const char* MessageColumnTypes
        = "userName text, context text, desc_ text, from_ text, to_ text, fromIconName text, toIconName text, "
          "msgType integer, url text, createTime text";

    std::string messageQueryTable(const char* table)
    {
        return std::string("create table if not exists ") + table + " (id_ text unique, " + MessageColumnTypes + ")";
    }

    // A conversation's order: the stored time ("" for none, so that such a message comes first, as a null time
    // sorts), then the order of storing.
    constexpr const char* OrderTime = "coalesce(createTime, '')";

    // Serves a page of one direction of a conversation, in its order, from any place in it.
    std::string conversationIndex(const char* table)
    {
        return std::string("create index if not exists ") + table + "Conversation on " + table
            + " (userName, from_, to_, " + OrderTime + ")";
    }

    std::string messageListTable(const char* table)
    {
        return std::string("create table if not exists ") + table + " (partner text, id_ text, " + MessageColumnTypes
            + ")";
    }

    bool createTablesIn(Database& db)
    {
        if (database::intForQuery(db, "pragma user_version") == SchemaVersion)
            return true;
        const std::string statements[] = {
            messageQueryTable(ChatQuery),
            messageQueryTable(MessageQuery),
            messageListTable(ChatList),
            messageListTable(MessageList),
            conversationIndex(ChatQuery),
            conversationIndex(MessageQuery),
            "create table if not exists MobileDeviceDB (userName text, serialNumber text, DeviceName text, "
            "deviceTypeID integer)",
            "pragma user_version = " + std::to_string(SchemaVersion),
        };
        for (const std::string& statement : statements) {
            if (!db.executeUpdate(statement))
                return false;
        }
        return true;
    }

    struct FileIdentity {
        dev_t device {};
        ino_t inode {};
        bool operator==(const FileIdentity&) const = default;
    };

    std::optional<FileIdentity> identityOf(const std::filesystem::path& path)
    {
        struct stat info { };
        if (::stat(path.c_str(), &info) != 0)
            return std::nullopt;
        return FileIdentity { info.st_dev, info.st_ino };
    }

    // An open connection and the file it opened.
    struct Connection {
        std::shared_ptr<Database> db;
        FileIdentity identity;
    };

    // Whether the connection's file is damaged: SQLite's quick check of its pages finds a fault, or the file
    // does not read as a database at all.
    bool isDamaged(Database& db)
    {
        auto verdict = database::stringForQuery(db, "pragma quick_check");
        if (!verdict)
            return isDamageCode(db.lastErrorCode());
        return *verdict != "ok";
    }

    // Serialises the setting aside of a damaged file between the threads that may find it damaged together.
    std::mutex& settingAside()
    {
        static std::mutex mutex;
        return mutex;
    }

    // Keeps a damaged file aside (with its rollback journal, which belongs to it and must not be played into the
    // new file), so that a new one is made in its place, the failure does not repeat at every launch and nothing
    // in the old file is destroyed. Only the file that was found damaged is moved: when another thread has
    // already replaced it, there is nothing left to do. Whether the path is free or holds another file now.
    bool setAside(const FileIdentity& damaged)
    {
        std::lock_guard lock(settingAside());
        auto path = DBManager::databasePath();
        if (identityOf(path) != damaged)
            return true;
        base::log("message store: the database file is damaged; keeping it aside and making a new one");
        for (const char* companion : { "-journal", "-wal", "-shm" }) {
            auto file = path;
            file += companion;
            std::error_code error;
            if (std::filesystem::exists(file, error))
                (void)keepAside(file);
        }
        return !keepAside(path).empty();
    }

    // The messages are the user's own: the file is made, or an earlier version's is set, 0600 before SQLite opens
    // it, and SQLite gives its journals the file's mode. Anything but a file at the path is left to fail the open.
    void keepPrivate(const std::filesystem::path& path)
    {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        (void)::fchmod(fd, 0600);
        ::close(fd);
    }

    // The open database with its tables; the error code of a failure.
    std::optional<Connection> openWithTables(int& errorCode)
    {
        auto path = DBManager::databasePath();
        keepPrivate(path);
        auto db = Database::databaseWithPath(path.string());
        // A batch runs the same few statements for every message: preparing them once is most of its cost.
        db->setShouldCacheStatements(true);
        db->setDateFormat(Database::storeableDateFormat("yyyy/MM/dd HH:mm:ss"));
        bool ready = db->open() && createTablesIn(*db);
        errorCode = db->lastErrorCode();
        auto identity = ready ? identityOf(path) : std::nullopt;
        if (identity)
            return Connection { db, *identity };
        (void)db->close(); // a close SQLite refuses is tried again when the object goes
        return std::nullopt;
    }

    // A file that is damaged or not a database is set aside and a new one made in its place.
    std::optional<Connection> openDatabase()
    {
        int errorCode = 0;
        auto connection = openWithTables(errorCode);
        if (connection || !isDamageCode(errorCode))
            return connection;
        auto damaged = identityOf(DBManager::databasePath());
        if (!damaged || !setAside(*damaged))
            return std::nullopt;
        return openWithTables(errorCode);
    }

    // The main thread's connection, kept open between calls: opening the file and checking its tables cost
    // more than the statements of most calls, and a sign-in makes several. It holds no lock between calls
    // (every call's statements are finished and its transactions ended), so connections of other threads
    // write as before. It is opened again when the data root moves or the file at the path is no longer the
    // one it has open (removed, kept aside, replaced): while it is open its inode cannot go to another file.
    // It keeps its prepared statements (reset after each use, so they hold no lock either), which SQLite
    // prepares again by itself when another connection changes the schema; closing drops them.
    std::optional<Connection> mainThreadDatabase()
    {
        struct Kept {
            std::optional<Connection> connection;
            std::filesystem::path path;
        };
        static Kept kept;
        std::filesystem::path path = DBManager::databasePath();
        if (kept.connection && kept.path == path && identityOf(path) == kept.connection->identity)
            return kept.connection;
        if (kept.connection)
            (void)kept.connection->db->close(); // a close SQLite refuses is tried again when the object goes
        kept = {};
        auto connection = openDatabase();
        if (connection)
            kept = { connection, path };
        return connection;
    }

    template <typename Work> using WorkResult = decltype(std::declval<Work&>()(std::declval<Database&>()));

    // Runs the work on an open database; false when it cannot be opened. Other threads open a connection of
    // their own for the work and close it after.
    // A failed write (false) on a damaged file gives that file's identity in `damaged`, when asked for.
    template <typename Work> WorkResult<Work> onConnection(Work& work, std::optional<FileIdentity>* damaged = nullptr)
    {
        bool mainThread = base::isMainThread();
        auto connection = mainThread ? mainThreadDatabase() : openDatabase();
        if (!connection)
            return {};
        auto result = work(*connection->db);
        if constexpr (std::is_same_v<WorkResult<Work>, bool>) {
            if (!result && damaged && isDamaged(*connection->db))
                *damaged = connection->identity;
        }
        if (!mainThread)
            (void)connection->db->close(); // the work's writes are committed or not; a refused close is tried later
        return result;
    }

    // As onConnection; a write that fails on a damaged file sets the file aside and is made once more on a new
    // one.
    template <typename Work> WorkResult<Work> withDatabase(Work work)
    {
        std::optional<FileIdentity> damaged;
        auto result = onConnection(work, &damaged);
        if (damaged && setAside(*damaged))
            return onConnection(work);
        return result;
    }

    template <typename Steps> bool inTransaction(Database& db, Steps steps)
    {
        if (!db.beginTransaction())
            return false;
        if (steps())
            return db.commit();
        (void)db.rollback(); // if even that fails, closing the connection rolls the transaction back
        return false;
    }

    std::optional<std::string> signedInAccount()
    {
        return base::UserDefaults::standard().stringForKey(SettingsKeys::LoginName2);
    }

    std::optional<int64_t> optionalInteger(ResultSet& row, int column)
    {
        if (row.columnIndexIsNull(column))
            return std::nullopt;
        return row.longLongIntForColumnIndex(column);
    }

    // Whether the account's current-device rows are just this device already, so that storing it again would
    // change nothing (a sign-in to the same device stores it every time).
    bool holdsOnlyDevice(Database& db, const std::optional<std::string>& account, const MobileDeviceAndLocation& device)
    {
        auto rows = db.executeQuery(
            "select serialNumber, DeviceName, deviceTypeID from MobileDeviceDB where userName is ?", account);
        if (!rows)
            return false;
        int count = 0;
        bool same = true;
        while (rows->next()) {
            ++count;
            same = same && rows->stringForColumnIndex(0) == device.serialNumber
                && rows->stringForColumnIndex(1) == device.DeviceName
                && optionalInteger(*rows, 2) == device.deviceTypeID;
        }
        return count == 1 && same;
    }

    // Columns in the order of MessageColumns.
    std::shared_ptr<UserMessageQuery> readMessage(ResultSet& row)
    {
        auto message = std::make_shared<UserMessageQuery>();
        message->id_ = row.stringForColumnIndex(0);
        message->userName = row.stringForColumnIndex(1);
        message->context = row.stringForColumnIndex(2);
        message->desc = row.stringForColumnIndex(3);
        message->from = row.stringForColumnIndex(4);
        message->to = row.stringForColumnIndex(5);
        message->fromIconName = row.stringForColumnIndex(6);
        message->toIconName = row.stringForColumnIndex(7);
        message->msgType = optionalInteger(row, 8);
        message->url = row.stringForColumnIndex(9);
        message->createTime = row.dateForColumnIndex(10);
        return message;
    }

    // The statements that store a message of one place: in its table of messages, keeping a message stored
    // before, and as its partner's one row in its list. Their texts are made once, as a batch runs them for
    // every message.
    struct StoringStatements {
        StoringStatements(const char* queryTable, const char* listTable)
            : insertQuery(std::string("insert or ignore into ") + queryTable + " (" + MessageColumns
                + ") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            , deleteListRow(std::string("delete from ") + listTable + " where userName is ? and partner is ?")
            , insertListRow(std::string("insert into ") + listTable + " (partner, " + MessageColumns
                  + ") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        {
        }

        std::string insertQuery;
        std::string deleteListRow;
        std::string insertListRow;
    };

    const StoringStatements& storingStatements(PendingMessage::Place place)
    {
        static const StoringStatements chat(ChatQuery, ChatList), messageCentre(MessageQuery, MessageList);
        return place == PendingMessage::Place::Chat ? chat : messageCentre;
    }

    // The message's time as the database stores it (its date format is always set), made once for the
    // statements that store the message.
    std::optional<std::string> storedTime(const Database& db, const UserMessageQuery& message)
    {
        return message.createTime ? db.stringFromDate(*message.createTime) : std::nullopt;
    }

    bool insertQuery(Database& db, const StoringStatements& statements, const UserMessageQuery& message,
        const std::optional<std::string>& time)
    {
        return db.executeUpdate(statements.insertQuery, message.id_, message.userName, message.context, message.desc,
            message.from, message.to, message.fromIconName, message.toIconName, message.msgType, message.url, time);
    }

    bool saveQuery(PendingMessage::Place place, const UserMessageQuery& message)
    {
        return withDatabase(
            [&](Database& db) { return insertQuery(db, storingStatements(place), message, storedTime(db, message)); });
    }

    std::optional<std::string> partnerOf(const UserMessageQuery& message)
    {
        bool sentByOwner = message.userName && message.from == message.userName;
        return sentByOwner ? message.to : message.from;
    }

    bool replaceListRow(Database& db, const StoringStatements& statements, const UserMessageQuery& message,
        const std::optional<std::string>& time)
    {
        auto partner = partnerOf(message);
        return db.executeUpdate(statements.deleteListRow, message.userName, partner)
            && db.executeUpdate(statements.insertListRow, partner, message.id_, message.userName, message.context,
                message.desc, message.from, message.to, message.fromIconName, message.toIconName, message.msgType,
                message.url, time);
    }

    bool saveList(PendingMessage::Place place, const UserMessageQuery& message)
    {
        return withDatabase([&](Database& db) {
            return inTransaction(
                db, [&] { return replaceListRow(db, storingStatements(place), message, storedTime(db, message)); });
        });
    }

    bool savePending(Database& db, const PendingMessage& pending)
    {
        const StoringStatements& statements = storingStatements(pending.place);
        auto time = storedTime(db, *pending.message);
        return insertQuery(db, statements, *pending.message, time)
            && replaceListRow(db, statements, *pending.message, time);
    }

    // The account's messages of one table between the two parties, both directions, oldest first.
    std::vector<std::shared_ptr<UserMessageQuery>> selectConversation(
        const char* table, std::string_view userName, std::string_view from, std::string_view to)
    {
        BASE_ASSERT_MAIN_THREAD();
        using Messages = std::vector<std::shared_ptr<UserMessageQuery>>;
        return withDatabase([&](Database& db) {
            Messages messages;
            auto rows = db.executeQuery(std::string("select ") + MessageColumns + " from " + table
                    + " where userName = ? and ((from_ = ? and to_ = ?) or (from_ = ? and to_ = ?))"
                      " order by createTime, rowid",
                userName, from, to, to, from);
            while (rows && rows->next())
                messages.push_back(readMessage(*rows));
            return messages;
        });
    }

    const char* queryTableOf(PendingMessage::Place place)
    {
        return place == PendingMessage::Place::Chat ? ChatQuery : MessageQuery;
    }

    // A conversation's messages within `bound` (a condition on its order), read from its index one direction
    // at a time (the account's messages from one party to the other, then the other way) and merged, in the
    // order `direction` ("asc" or "desc"), at most `limit` when the statement ends with a limit. Columns:
    // MessageColumns, then the order's time and row id.
    std::string conversationStatement(const char* table, const std::string& bound, const char* direction, bool limited)
    {
        std::string limit = limited ? " limit ?" : "";
        std::string oneWay = std::string("select * from (select ") + MessageColumns + ", " + OrderTime
            + " as orderTime, rowid as orderRow from " + table + " where userName = ? and from_ = ? and to_ = ?" + bound
            + " order by " + OrderTime + " " + direction + ", rowid " + direction + limit + ")";
        return oneWay + " union all " + oneWay + " order by orderTime " + direction + ", orderRow " + direction + limit;
    }

    // Bounds on the order; the time is compared on its own as well, so that SQLite seeks the index to it.
    std::string boundBefore()
    {
        return std::string(" and ") + OrderTime + " <= ? and (" + OrderTime + ", rowid) < (?, ?)";
    }
    std::string boundFrom()
    {
        return std::string(" and ") + OrderTime + " >= ? and (" + OrderTime + ", rowid) >= (?, ?)";
    }

    std::vector<StoredMessage> readStoredMessages(const std::shared_ptr<ResultSet>& rows)
    {
        std::vector<StoredMessage> messages;
        while (rows && rows->next()) {
            ConversationKey key { rows->stringForColumnIndex(11).value_or(""), rows->longLongIntForColumnIndex(12) };
            messages.push_back({ std::move(key), readMessage(*rows) });
        }
        return messages;
    }

} // namespace

std::filesystem::path DBManager::databasePath() { return base::Paths::documents() / FileName; }

bool DBManager::createTables()
{
    BASE_ASSERT_MAIN_THREAD();
    // The pages are checked here, once a launch, rather than at every open: a file found damaged is set aside
    // and checked again new.
    return withDatabase([](Database& db) { return !isDamaged(db); });
}

std::shared_ptr<MobileDeviceAndLocation> DBManager::readSingleMobileDevice()
{
    BASE_ASSERT_MAIN_THREAD();
    auto account = signedInAccount();
    if (!account)
        return nullptr;
    return withDatabase([&](Database& db) -> std::shared_ptr<MobileDeviceAndLocation> {
        auto row = db.executeQuery("select serialNumber, DeviceName, deviceTypeID from MobileDeviceDB "
                                   "where userName = ? order by rowid desc limit 1",
            *account);
        if (!row || !row->next())
            return nullptr;
        auto device = std::make_shared<MobileDeviceAndLocation>();
        device->serialNumber = row->stringForColumnIndex(0);
        device->DeviceName = row->stringForColumnIndex(1);
        device->deviceTypeID = optionalInteger(*row, 2);
        row->close();
        return device;
    });
}

bool DBManager::saveOrUpdataMobileDeviceDB(const MobileDeviceAndLocation& device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto account = signedInAccount();
    return withDatabase([&](Database& db) {
        if (holdsOnlyDevice(db, account, device))
            return true;
        return inTransaction(db, [&] {
            return db.executeUpdate("delete from MobileDeviceDB where userName is ?", account)
                && db.executeUpdate(
                    "insert into MobileDeviceDB (userName, serialNumber, DeviceName, deviceTypeID) values (?, ?, ?, ?)",
                    account, device.serialNumber, device.DeviceName, device.deviceTypeID);
        });
    });
}

bool DBManager::deleteAllMobileDevice()
{
    BASE_ASSERT_MAIN_THREAD();
    auto account = signedInAccount();
    return withDatabase(
        [&](Database& db) { return db.executeUpdate("delete from MobileDeviceDB where userName is ?", account); });
}

std::vector<std::shared_ptr<UserMessageQuery>> DBManager::selectUserChatQueryByUserName(
    std::string_view userName, std::string_view from, std::string_view to)
{
    return selectConversation(ChatQuery, userName, from, to);
}

std::vector<std::shared_ptr<UserMessageQuery>> DBManager::selectUserMessageQueryByUserName(
    std::string_view userName, std::string_view from, std::string_view to)
{
    return selectConversation(MessageQuery, userName, from, to);
}

std::vector<StoredMessage> DBManager::selectConversationPage(PendingMessage::Place place, std::string_view userName,
    std::string_view from, std::string_view to, const std::optional<ConversationKey>& last, int limit)
{
    BASE_ASSERT_MAIN_THREAD();
    const char* table = queryTableOf(place);
    auto messages = withDatabase([&](Database& db) {
        if (!last)
            return readStoredMessages(db.executeQuery(conversationStatement(table, "", "desc", true), userName, from,
                to, limit, userName, to, from, limit, limit));
        return readStoredMessages(
            db.executeQuery(conversationStatement(table, boundBefore(), "desc", true), userName, from, to, last->time,
                last->time, last->rowid, limit, userName, to, from, last->time, last->time, last->rowid, limit, limit));
    });
    std::reverse(messages.begin(), messages.end());
    return messages;
}

std::vector<StoredMessage> DBManager::selectConversationFrom(PendingMessage::Place place, std::string_view userName,
    std::string_view from, std::string_view to, const ConversationKey& first)
{
    BASE_ASSERT_MAIN_THREAD();
    return withDatabase([&](Database& db) {
        return readStoredMessages(
            db.executeQuery(conversationStatement(queryTableOf(place), boundFrom(), "asc", false), userName, from, to,
                first.time, first.time, first.rowid, userName, to, from, first.time, first.time, first.rowid));
    });
}

bool DBManager::saveOrUpdataUserChatQuery(const UserMessageQuery& message)
{
    return saveQuery(PendingMessage::Place::Chat, message);
}

bool DBManager::saveOrUpdataUserChatList(const UserMessageQuery& message)
{
    return saveList(PendingMessage::Place::Chat, message);
}

bool DBManager::saveOrUpdataUserMessageQuery(const UserMessageQuery& message)
{
    BASE_ASSERT_MAIN_THREAD();
    return saveQuery(PendingMessage::Place::MessageCentre, message);
}

bool DBManager::saveOrUpdataUserMessageList(const UserMessageQuery& message)
{
    return saveList(PendingMessage::Place::MessageCentre, message);
}

bool DBManager::saveIncomingMessages(const std::vector<PendingMessage>& messages)
{
    return saveIncomingBatches([&](const StoreBatch& store) { return store(messages); });
}

bool DBManager::saveIncomingBatches(const std::function<bool(const StoreBatch& store)>& produce)
{
    return withDatabase([&](Database& db) {
        return inTransaction(db, [&] {
            return produce([&](const std::vector<PendingMessage>& batch) {
                for (const PendingMessage& pending : batch) {
                    if (!savePending(db, pending))
                        return false;
                }
                return true;
            });
        });
    });
}

bool DBManager::deleteMessagesOfAccount(std::string_view account, std::string_view serialNumber)
{
    BASE_ASSERT_MAIN_THREAD();
    auto deleteFrom = [&](Database& db, const char* table) {
        return db.executeUpdate(std::string("delete from ") + table + " where userName = ?", account);
    };
    auto deleteListRows = [&](Database& db, const char* table) {
        return db.executeUpdate(
            std::string("delete from ") + table + " where userName = ? and partner = ?", account, serialNumber);
    };
    return withDatabase([&](Database& db) {
        return inTransaction(db, [&] {
            return deleteFrom(db, ChatQuery) && deleteListRows(db, ChatList) && deleteFrom(db, MessageQuery)
                && deleteListRows(db, MessageList);
        });
    });
}

} // namespace core
