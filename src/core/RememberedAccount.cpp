#include "shell/RememberedAccount.h"

#include "base/Bundle.h"
#include "base/UserDefaults.h"
#include "core/Helper.h"
#include "core/SettingsKeys.h"
#include "keychain/Keychain.h"

namespace shell {

using core::SettingsKeys;

namespace {

    std::string setting(const char* key) { return base::UserDefaults::standard().stringForKey(key).value_or(""); }

    void saveSetting(const std::string& value, const char* key)
    {
        core::Helper::saveSettingValue(base::Value(value), key);
    }

    std::string keychainService() { return base::Bundle::main().identifier(); }

} // namespace

RememberedAccount RememberedAccount::read()
{
    RememberedAccount account;
    account.name = setting(SettingsKeys::LoginName);
    if (!account.name.empty())
        account.password = keychain::Keychain::passwordForService(keychainService(), account.name);
    account.autoLogin = setting(SettingsKeys::AutoLogin) == "1";
    return account;
}

void RememberedAccount::save(const std::string& name, const std::string& password, bool remember, bool autoLogin)
{
    saveSetting(name, SettingsKeys::LoginName);
    saveSetting(name, SettingsKeys::LoginName2);
    saveSetting(remember && autoLogin ? "1" : "0", SettingsKeys::AutoLogin);
    if (remember) {
        keychain::Keychain::setPassword(password, keychainService(), name);
        saveSetting(password, SettingsKeys::Password);
        saveSetting(name, SettingsKeys::ReLoginName);
        saveSetting(password, SettingsKeys::RePassword);
    } else {
        keychain::Keychain::deletePasswordForService(keychainService(), name);
        saveSetting("", SettingsKeys::Password);
        forgetReLoginAccount();
    }
}

std::optional<RememberedAccount::Credentials> RememberedAccount::reLoginAccount()
{
    Credentials credentials { setting(SettingsKeys::ReLoginName), setting(SettingsKeys::RePassword) };
    if (credentials.name.empty() || credentials.password.empty())
        return std::nullopt;
    return credentials;
}

void RememberedAccount::forgetReLoginAccount()
{
    core::Helper::saveSettingValue(std::nullopt, SettingsKeys::ReLoginName);
    core::Helper::saveSettingValue(std::nullopt, SettingsKeys::RePassword);
}

} // namespace shell
