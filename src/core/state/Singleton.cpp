#include "core/state/Singleton.h"

#include "base/loop/MainThread.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "base/system/UserDefaults.h"
#include "core/messages/SafeFileName.h"
#include "core/service/RootUrl.h"
#include "core/state/SettingsKeys.h"

namespace core {

namespace {

    void writeSetting(const std::optional<std::string>& value, const char* key)
    {
        auto& defaults = base::UserDefaults::standard();
        if (value)
            defaults.setObject(base::Value(*value), key);
        else
            defaults.removeObjectForKey(key);
        // synchronize() logs a failed write; the value is in use for this run either way.
        (void)defaults.synchronize();
    }

    // The file of that name in the message folder, or nothing for a name that is not a plain file name.
    std::optional<std::filesystem::path> messageFile(const Singleton& state, std::string_view name)
    {
        if (!isSafeFileName(name)) {
            base::log("message folder: refused the file name \"" + std::string(name.substr(0, 64)) + "\"");
            return std::nullopt;
        }
        return state.messagePath() / name;
    }

} // namespace

Singleton& Singleton::shared()
{
    static Singleton instance;
    return instance;
}

std::string Singleton::lastSerialnumber() const
{
    return base::UserDefaults::standard().stringForKey(SettingsKeys::LastSerialNumber).value_or("");
}

void Singleton::setLastSerialnumber(const std::string& serialNumber)
{
    writeSetting(serialNumber, SettingsKeys::LastSerialNumber);
}

std::string Singleton::server() const { return rootUrl(); }

void Singleton::setServer(const std::string& root) { writeSetting(root, SettingsKeys::RootUrl); }

std::optional<std::string> Singleton::key() const
{
    return base::UserDefaults::standard().stringForKey(SettingsKeys::LoginKey);
}

void Singleton::setKey(const std::optional<std::string>& key) { writeSetting(key, SettingsKeys::LoginKey); }

std::optional<int64_t> Singleton::deviceTypeID() const
{
    BASE_ASSERT_MAIN_THREAD();
    return m_deviceTypeID;
}

void Singleton::setDeviceTypeID(std::optional<int64_t> type)
{
    BASE_ASSERT_MAIN_THREAD();
    m_deviceTypeID = type;
}

std::shared_ptr<Device> Singleton::deviceDetail() const
{
    BASE_ASSERT_MAIN_THREAD();
    return m_deviceDetail;
}

void Singleton::setDeviceDetail(std::shared_ptr<Device> device)
{
    BASE_ASSERT_MAIN_THREAD();
    m_deviceDetail = std::move(device);
}

std::filesystem::path Singleton::messagePath() const
{
    std::filesystem::path folder = base::Paths::documents() / MessageFolderName;
    // A folder that cannot be made shows as the failure of the first file written into it.
    (void)base::Files::createFolders(folder);
    return folder;
}

bool Singleton::fileExist(std::string_view name) const
{
    auto file = messageFile(*this, name);
    std::error_code error;
    return file && std::filesystem::is_regular_file(*file, error);
}

std::optional<base::Data> Singleton::readMessageFile(std::string_view name) const
{
    auto file = messageFile(*this, name);
    auto bytes = file ? base::Files::read(*file) : std::nullopt;
    if (!bytes)
        return std::nullopt;
    return base::Data(bytes->begin(), bytes->end());
}

bool Singleton::writeMessageFileName(std::string_view name, const base::Data& data) const
{
    auto file = messageFile(*this, name);
    return file
        && base::Files::writeAtomically(
            *file, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), 0600);
}

} // namespace core
