// tracking_service::ServiceStore: the local tracking service's state in one SQLite file ("service.sqlite" in
// the service's data folder): accounts and their sessions, devices with their per-device documents (detail,
// alarm clocks, timetable, ...), waiting messages, files to download and received voice uploads. Documents
// and messages are kept as the JSON values the web methods answer with. Safe from any thread: every call
// takes the store's lock.
//
//   tracking_service::ServiceStore store(folder);
//   store.setDocument("LW3600000001", ServiceStore::DetailDocument, detail);
//   std::optional<base::Value> alarms = store.document("LW3600000001", ServiceStore::AlarmClockDocument);
#pragma once

#include "base/Value.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
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

class ServiceStore {
public:
    // Kinds of per-device documents.
    static constexpr const char* DetailDocument = "detail";
    static constexpr const char* AttendanceDocument = "attendance";
    static constexpr const char* AlarmClockDocument = "alarmclock";
    static constexpr const char* PhoneBookDocument = "phonebook";
    static constexpr const char* ClassInfoDocument = "classinfo";
    static constexpr const char* StepCountDocument = "stepcount";

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
    bool setPushToken(std::string_view account, std::string_view token);
    std::optional<std::string> pushToken(std::string_view account);

    // A new session of the account; its identifier goes into the session cookie.
    std::string openSession(std::string_view account);
    std::optional<std::string> sessionAccount(std::string_view sessionId);

    bool addDevice(const DeviceRow& device);
    // The account's devices in the order they were added.
    std::vector<DeviceRow> devicesOf(std::string_view account);
    std::optional<std::string> deviceOwner(std::string_view serialNumber);

    bool setDocument(std::string_view serialNumber, std::string_view kind, const base::Value& value);
    std::optional<base::Value> document(std::string_view serialNumber, std::string_view kind);

    // Messages wait until the account pops them, oldest first; each is handed out once.
    bool queueMessage(std::string_view account, const base::Value& message);
    std::vector<base::Value> popMessages(std::string_view account);

    bool putFile(std::string_view name, const base::Data& bytes);
    std::optional<base::Data> file(std::string_view name);

    // Keeps the upload and its file (stored as "upload-<number>.amr"); the upload as kept, its file name set.
    std::optional<VoiceUpload> recordUpload(VoiceUpload upload, const std::optional<base::Data>& file);
    std::vector<VoiceUpload> uploads();

private:
    bool createTables();

    std::mutex m_mutex;
    std::shared_ptr<database::Database> m_database;
    bool m_open { false };
};

} // namespace tracking_service
