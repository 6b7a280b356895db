// core::Singleton: the application's one global state object, created on first use: the current device
// (serial number, type and detail record), the chosen server and its login key, the global network state
// that the network check (CheckNetwork) records, and the message folder where downloaded and recorded voice
// and image files are kept. The server, key and serial number are settings, written through at once. The
// network state, the settings and the message folder may be used from any thread; the device type and
// detail record, and the "config" property list of the resources, belong to the main thread.
//
//   auto& state = core::Singleton::shared();
//   std::string url = state.server() + core::ServiceProtocol::WebMethodPath + "GetDeviceDetial";
//   if (!state.fileExist(name)) state.writeMessageFileName(name, bytes);
#pragma once

#include "base/values/Dictionary.h"
#include "base/values/Value.h"
#include "core/records/Device.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace core {

class Singleton {
public:
    // Values of the global network state.
    static constexpr int32_t NetworkNone = 0;
    static constexpr int32_t NetworkViaCellular = 1;
    static constexpr int32_t NetworkViaWiFi = 2;

    static constexpr const char* MessageFolderName = "message";

    static Singleton& shared();

    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    // What the last network check found: Wi-Fi or another route that is not cellular, only the cellular
    // network, or no network; none until the first check.
    int32_t currentNetworkContional() const { return m_currentNetworkContional; }
    void setCurrentNetworkContional(int32_t state) { m_currentNetworkContional = state; }

    // The current device's serial number (setting "kLastSerialNumber"); "" when none is chosen.
    std::string lastSerialnumber() const;
    void setLastSerialnumber(const std::string& serialNumber);
    // The chosen server's root URL (see rootUrl: the launch's server, else the setting "RootUrl", else the
    // local tracking service); setServer writes the setting.
    std::string server() const;
    void setServer(const std::string& root);
    // The login key of the chosen server (setting "loginkey").
    [[nodiscard]] std::optional<std::string> key() const;
    void setKey(const std::optional<std::string>& key);

    // The current device's type. Main thread.
    [[nodiscard]] std::optional<int64_t> deviceTypeID() const;
    void setDeviceTypeID(std::optional<int64_t> type);
    // The current device's detail record, set from each device-detail reply; empty before one is read. Main
    // thread.
    std::shared_ptr<Device> deviceDetail() const;
    void setDeviceDetail(std::shared_ptr<Device> device);

    // The property list "config" of the resources (the drawer menu's function lists by device type), read by
    // loadConfig() at launch; empty before that, and when the file is missing or holds no dictionary. Main
    // thread.
    static constexpr const char* ConfigName = "config";
    const base::DictionaryRef& config() const;
    // Whether the property list could be read.
    [[nodiscard]] bool loadConfig();

    // The folder "message" in the documents folder (created when missing).
    std::filesystem::path messagePath() const;
    // The file functions take a plain file name (see isSafeFileName); any other name is refused: it does not
    // exist, cannot be read and is not written.
    bool fileExist(std::string_view name) const;
    [[nodiscard]] std::optional<base::Data> readMessageFile(std::string_view name) const;
    // Writes the data atomically, replacing an older file of that name, readable by the user only (a voice
    // message is as private as the store); whether it succeeded.
    bool writeMessageFileName(std::string_view name, const base::Data& data) const;

private:
    Singleton() = default;

    std::atomic<int32_t> m_currentNetworkContional { NetworkNone };
    std::optional<int64_t> m_deviceTypeID;
    std::shared_ptr<Device> m_deviceDetail;
    base::DictionaryRef m_config;
};

} // namespace core
