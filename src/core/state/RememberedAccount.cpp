#include "core/state/RememberedAccount.h"

#include "base/loop/MainThread.h"
#include "base/system/Bundle.h"
#include "base/system/Log.h"
#include "core/helpers/Helper.h"
#include "core/service/RootUrl.h"
#include "core/state/SettingsKeys.h"
#include "keychain/Keychain.h"

namespace core {

namespace {

    std::string setting(const char* key)
    {
        auto value = Helper::readSettingsByKey(key);
        return value && value->isString() ? *value->string() : "";
    }

    void saveSetting(const std::string& value, const char* key) { Helper::saveSettingValue(base::Value(value), key); }

    std::string keychainService() { return base::Bundle::main().identifier(); }

    // Where the new password of a change on its way is kept, beside the remembered one.
    std::string pendingKeychainService() { return keychainService() + ".pending-password"; }

    void forgetPendingPassword(const std::string& account)
    {
        // Nothing pending is not a failure: there is nothing to forget.
        (void)keychain::Keychain::deletePasswordForService(pendingKeychainService(), account);
    }

    std::string& session()
    {
        static std::string password;
        return password;
    }

    void replaceSetting(const char* key, const std::string& oldPassword, const std::string& newPassword)
    {
        if (setting(key) == oldPassword)
            saveSetting(newPassword, key);
    }

    void replaceKeychainItem(const std::string& account, const std::string& oldPassword, const std::string& newPassword)
    {
        if (keychain::Keychain::passwordForService(keychainService(), account) == oldPassword
            && !keychain::Keychain::setPassword(newPassword, keychainService(), account))
            base::log("remembered account: the keychain did not take the new password");
    }

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
    setSessionPassword(password);
    keepLaunchRootUrl();
    // An accepted password is the one the service holds: a change that was pending has been decided.
    forgetPendingPassword(name);
    if (remember) {
        if (!keychain::Keychain::setPassword(password, keychainService(), name))
            base::log("remembered account: the keychain did not take the password");
        saveSetting(password, SettingsKeys::Password);
        saveSetting(name, SettingsKeys::ReLoginName);
        saveSetting(password, SettingsKeys::RePassword);
    } else {
        // Nothing stored under the name is not a failure here: the password is to be gone either way.
        (void)keychain::Keychain::deletePasswordForService(keychainService(), name);
        saveSetting("", SettingsKeys::Password);
        forgetReLoginAccount();
    }
}

void RememberedAccount::passwordChangeSent(
    const std::string& account, const std::string& oldPassword, const std::string& newPassword)
{
    BASE_ASSERT_MAIN_THREAD();
    if (account.empty() || oldPassword.empty()
        || keychain::Keychain::passwordForService(keychainService(), account) != oldPassword)
        return;
    if (!keychain::Keychain::setPassword(newPassword, pendingKeychainService(), account))
        base::log("remembered account: the keychain did not take the password of the change on its way");
}

void RememberedAccount::passwordChangeAnswered(const std::string& account)
{
    BASE_ASSERT_MAIN_THREAD();
    forgetPendingPassword(account);
}

std::optional<std::string> RememberedAccount::pendingPassword(
    const std::string& account, const std::string& refusedPassword)
{
    BASE_ASSERT_MAIN_THREAD();
    if (account.empty() || keychain::Keychain::passwordForService(keychainService(), account) != refusedPassword)
        return std::nullopt;
    auto pending = keychain::Keychain::passwordForService(pendingKeychainService(), account);
    if (!pending || pending->empty() || *pending == refusedPassword)
        return std::nullopt;
    return pending;
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
    Helper::saveSettingValue(std::nullopt, SettingsKeys::ReLoginName);
    Helper::saveSettingValue(std::nullopt, SettingsKeys::RePassword);
}

std::string RememberedAccount::sessionPassword()
{
    BASE_ASSERT_MAIN_THREAD();
    return session();
}

void RememberedAccount::setSessionPassword(std::string password)
{
    BASE_ASSERT_MAIN_THREAD();
    session() = std::move(password);
}

void RememberedAccount::passwordChanged(
    const std::string& account, const std::string& oldPassword, const std::string& newPassword)
{
    BASE_ASSERT_MAIN_THREAD();
    // An empty copy is no remembered one, and without an account there is nobody to write for.
    if (account.empty() || oldPassword.empty())
        return;
    if (setting(SettingsKeys::LoginName2) == account && session() == oldPassword)
        session() = newPassword;
    if (setting(SettingsKeys::LoginName) == account)
        replaceSetting(SettingsKeys::Password, oldPassword, newPassword);
    if (setting(SettingsKeys::ReLoginName) == account)
        replaceSetting(SettingsKeys::RePassword, oldPassword, newPassword);
    replaceKeychainItem(account, oldPassword, newPassword);
}

} // namespace core
