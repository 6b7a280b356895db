#include "core/state/KeychainSettings.h"

#include "base/system/Bundle.h"
#include "base/system/UserDefaults.h"
#include "core/state/SettingsKeys.h"
#include "keychain/Keychain.h"

#include <mutex>

namespace core {

namespace {

    std::string service() { return base::Bundle::main().identifier() + ".settings"; }

} // namespace

void KeychainSettings::install()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        base::UserDefaults::standard().keepInSecretStore(
            { SettingsKeys::Password, SettingsKeys::RePassword }, std::make_shared<KeychainSettings>());
    });
}

// Read as data, so that an empty setting reads back as empty rather than as none.
std::optional<std::string> KeychainSettings::read(std::string_view key)
{
    auto data = keychain::Keychain::passwordDataForService(service(), std::string(key));
    if (!data)
        return std::nullopt;
    return std::string(data->begin(), data->end());
}

bool KeychainSettings::write(std::string_view key, const std::string& text)
{
    return keychain::Keychain::setPassword(text, service(), std::string(key));
}

bool KeychainSettings::remove(std::string_view key)
{
    // Nothing to remove counts as removed.
    return keychain::Keychain::deletePasswordForService(service(), std::string(key)) || !read(key);
}

} // namespace core
