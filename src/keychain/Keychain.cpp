#include "keychain/Keychain.h"

#include "keychain/KeychainQuery.h"

#include <mutex>

namespace keychain {

namespace {

    struct Accessibility {
        std::mutex mutex;
        std::optional<std::string> type;
    };

    Accessibility& accessibility()
    {
        static Accessibility shared;
        return shared;
    }

    KeychainQuery queryFor(const Keychain::Text& service, const Keychain::Text& account)
    {
        KeychainQuery query;
        query.setService(service);
        query.setAccount(account);
        return query;
    }

} // namespace

std::optional<std::string> Keychain::passwordForService(const Text& service, const Text& account, base::Error* error)
{
    KeychainQuery query = queryFor(service, account);
    // A failed fetch leaves no password, which is the answer; the reason goes to `error`.
    (void)query.fetch(error);
    return query.password();
}

std::optional<base::Data> Keychain::passwordDataForService(const Text& service, const Text& account, base::Error* error)
{
    KeychainQuery query = queryFor(service, account);
    // A failed fetch leaves no password, which is the answer; the reason goes to `error`.
    (void)query.fetch(error);
    return query.passwordData();
}

bool Keychain::deletePasswordForService(const Text& service, const Text& account, base::Error* error)
{
    return queryFor(service, account).deleteItem(error);
}

bool Keychain::setPassword(const Text& password, const Text& service, const Text& account, base::Error* error)
{
    KeychainQuery query = queryFor(service, account);
    query.setPassword(password);
    return query.save(error);
}

bool Keychain::setPasswordData(
    const std::optional<base::Data>& password, const Text& service, const Text& account, base::Error* error)
{
    KeychainQuery query = queryFor(service, account);
    query.setPasswordData(password);
    return query.save(error);
}

base::ArrayRef Keychain::allAccounts(base::Error* error) { return accountsForService(std::nullopt, error); }

base::ArrayRef Keychain::accountsForService(const Text& service, base::Error* error)
{
    KeychainQuery query;
    query.setService(service);
    return query.fetchAll(error);
}

std::optional<std::string> Keychain::accessibilityType()
{
    std::lock_guard lock(accessibility().mutex);
    return accessibility().type;
}

void Keychain::setAccessibilityType(std::optional<std::string> type)
{
    std::lock_guard lock(accessibility().mutex);
    accessibility().type = std::move(type);
}

} // namespace keychain
