// tracking_service::ServiceStore: the local tracking service's state in one SQLite file ("service.sqlite" in
// the service's data folder): accounts and their sessions, devices with their per-device documents (detail,
// alarm clocks, timetable, ...), waiting messages, files to download and received voice uploads. Documents
// and messages are kept as the JSON values the web methods answer with. While the store is open its recent
// writes sit in SQLite's write-ahead log beside the file ("service.sqlite-wal"); closing folds them in. Safe
// from any thread: every call takes the store's lock.
//
//   tracking_service::ServiceStore store(folder);
//   store.setDocument("LW3600000001", ServiceStore::DetailDocument, detail);
//   std::optional<base::Value> alarms = store.document("LW3600000001", ServiceStore::AlarmClockDocument);
#pragma once

#include "base/values/Value.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace database {
class Database;
}

namespace tracking_service {

struct DeviceRow {
    std::string serialNumber;
    std::string account;
    std::string name;
    int64_t typeID { 0 };
    int64_t onLineState { 0 };
};

struct VoiceUpload {
    std::string to;
    std::string from;
    std::string msgType;
    std::string context;
    std::string isToDevice;
    // The stored file's name, empty when the upload carried no file.
    std::string fileName;
};

// One field of a device's detail document: `key` of the detail itself when `configuration` is empty, else
// `key` of the nested per-model configuration object named `configuration` ("LumetDevice_Config",
// "ParvoDevice_Config", "Quenn_DeviceConfig").
struct DetailField {
    std::string configuration;
    std::string key;
    base::Value value;
};

class ServiceStore {
public:
    // A change to a device's detail document, made in place; false refuses it and keeps the stored detail.
    using DetailChange = std::function<bool(base::MutableDictionary& detail)>;

    // Kinds of per-device documents.
    static constexpr const char* DetailDocument = "detail";
    static constexpr const char* AttendanceDocument = "attendance";
    static constexpr const char* AlarmClockDocument = "alarmclock";
    static constexpr const char* PhoneBookDocument = "phonebook";
    static constexpr const char* ClassInfoDocument = "classinfo";
    static constexpr const char* StepCountDocument = "stepcount";
    // Kept under an account's name in place of a serial number: the account's feedback conversation.
    static constexpr const char* FeedbackDocument = "feedback";

    // Opens (creating when needed) the store in `folder`; check isOpen().
    explicit ServiceStore(const std::filesystem::path& folder);
    ~ServiceStore();
    ServiceStore(const ServiceStore&) = delete;
    ServiceStore& operator=(const ServiceStore&) = delete;

    bool isOpen() const;
    // No account yet: a new store that the demo data may fill.
    bool isEmpty();

    bool addAccount(std::string_view name, std::string_view password);
    bool checkPassword(std::string_view name, std::string_view password);
    // False when there is no such account.
    bool setPassword(std::string_view account, std::string_view password);
    bool setPushToken(std::string_view account, std::string_view token);
    std::optional<std::string> pushToken(std::string_view account);

    // A new session of the account; its identifier goes into the session cookie.
    std::string openSession(std::string_view account);
    std::optional<std::string> sessionAccount(std::string_view sessionId);
    // Ends every session, as a restart of the service with fresh data does: no cookie handed out so far is
    // known any more.
    bool closeAllSessions();

    bool addDevice(const DeviceRow& device);
    // The account's devices in the order they were added.
    std::vector<DeviceRow> devicesOf(std::string_view account);
    std::optional<std::string> deviceOwner(std::string_view serialNumber);
    // The device's name in the device list and its detail's "DeviceName"; false when there is no such device.
    bool renameDevice(std::string_view serialNumber, std::string_view name);

    bool setDocument(std::string_view serialNumber, std::string_view kind, const base::Value& value);
    std::optional<base::Value> document(std::string_view serialNumber, std::string_view kind);

    // Appends the item to an array document as one step (a missing or non-array document starts a new
    // array); the document as it now is, or nothing when it could not be written.
    std::optional<base::Value> appendToDocument(
        std::string_view serialNumber, std::string_view kind, const base::Value& item);

    // Applies the change to the device's detail document as one step; false when the device has no detail
    // object or the change refuses.
    bool changeDetail(std::string_view serialNumber, const DetailChange& change);
    // Sets the fields as one step; false, changing nothing, when the detail is missing or a named
    // configuration is null or absent (the device is not of that model).
    bool setDetailFields(std::string_view serialNumber, const std::vector<DetailField>& fields);
    // The stored step count (StepCountDocument), then adds `steps` to it for the next question; a stored
    // value that is not a number is handed out as it is and kept.
    std::optional<base::Value> takeStepCount(std::string_view serialNumber, int64_t steps);

    // Messages wait, oldest first, until a reply carrying them has reached the caller. The messages of a reply
    // being written are in flight: no other poll hands them out, and when the write fails they wait again, so
    // a caller that gave up before the answer came gets them at its next poll.
    bool queueMessage(std::string_view account, const base::Value& message);
    struct MessagesInFlight {
        std::vector<base::Value> messages;
        // Their queue positions, for finishDelivery.
        std::vector<int64_t> positions;
    };
    // The account's waiting messages, now in flight; a text that is not well-formed UTF-8 or an escape of no
    // character comes with U+FFFD in its place. A message that cannot be read even so is left out and stays
    // queued; the log says so once.
    MessagesInFlight sendMessages(std::string_view account);
    // Marks the messages delivered, all in one transaction, or puts them back in the queue when the reply did
    // not reach the caller.
    void finishDelivery(const std::vector<int64_t>& positions, bool delivered);
    // Waits, up to `limit`, until no message is in flight: every reply that carried messages has been written
    // or has failed, and its messages are marked delivered or wait again. A caller has its reply before the
    // service learns that it was written, so whoever reads the queue after a poll's reply waits for this first.
    // Whether it came within the limit.
    [[nodiscard]] bool awaitDeliveries(std::chrono::milliseconds limit);

    bool putFile(std::string_view name, const base::Data& bytes);
    std::optional<base::Data> file(std::string_view name);

    // Keeps the upload and its file (stored as "upload-<number>.amr"); the upload as kept, its file name set.
    std::optional<VoiceUpload> recordUpload(VoiceUpload upload, const std::optional<base::Data>& file);
    std::vector<VoiceUpload> uploads();

private:
    bool useWriteAheadLog();
    bool createTables();
    // Without taking the lock: the caller holds it.
    std::optional<base::Value> readDocument(std::string_view serialNumber, std::string_view kind);
    bool writeDocument(std::string_view serialNumber, std::string_view kind, const base::Value& value);

    // The store's lock. Request threads take turns with the one connection: a turn holds the lock and, at
    // its end, hands the connection on so that whichever thread takes the next turn may use it.
    class Turn {
    public:
        explicit Turn(ServiceStore& store)
            : m_store(store)
            , m_lock(store.m_mutex)
        {
        }
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        ServiceStore& m_store;
        std::lock_guard<std::mutex> m_lock;
    };

    std::mutex m_mutex;
    std::condition_variable m_deliveryFinished;
    std::set<int64_t> m_messagesInFlight;
    // Queue positions of messages that could not be encoded, already logged.
    std::set<int64_t> m_unreadableMessages;
    std::shared_ptr<database::Database> m_database;
    bool m_open { false };
};

} // namespace tracking_service
