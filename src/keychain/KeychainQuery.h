// keychain::KeychainQuery: one query of the keychain item store for a generic password, keyed by service
// and account. It builds the store's attribute dictionaries and saves, fetches, lists and deletes items;
// failures come back as errors in the application's domain (its bundle identifier) with the store's status
// as the code. Synchronous on the calling thread; a query may be reused.
//
//   keychain::KeychainQuery query;
//   query.setService(base::Bundle::main().identifier());
//   query.setAccount("ann");
//   if (query.fetch()) use(query.password());
#pragma once

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/values/Error.h"
#include "base/values/Value.h"
#include "security/Status.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace keychain {

class KeychainQuery {
public:
    // Whether the item is synchronized to the user's other devices; Any matches both kinds.
    enum class SynchronizationMode : uint64_t { Any = 0, No = 1, Yes = 2 };

    // The query's own status for missing arguments (no store call is made).
    static constexpr security::Status BadArguments = -1001;

    const std::optional<std::string>& account() const { return m_account; }
    void setAccount(std::optional<std::string> account) { m_account = std::move(account); }
    const std::optional<std::string>& service() const { return m_service; }
    void setService(std::optional<std::string> service) { m_service = std::move(service); }
    const std::optional<std::string>& label() const { return m_label; }
    void setLabel(std::optional<std::string> label) { m_label = std::move(label); }
    const std::optional<std::string>& accessGroup() const { return m_accessGroup; }
    void setAccessGroup(std::optional<std::string> group) { m_accessGroup = std::move(group); }
    SynchronizationMode synchronizationMode() const { return m_synchronizationMode; }
    void setSynchronizationMode(SynchronizationMode mode) { m_synchronizationMode = mode; }

    const std::optional<base::Data>& passwordData() const { return m_passwordData; }
    void setPasswordData(std::optional<base::Data> data) { m_passwordData = std::move(data); }
    // The password as UTF-8 text: nothing when there is no data, the data is empty or not UTF-8.
    [[nodiscard]] std::optional<std::string> password() const;
    void setPassword(const std::optional<std::string>& password);

    // Adds the item, or replaces the data of the existing one (its label and accessibility stay).
    // Needs service, account and password data.
    [[nodiscard]] bool save(base::Error* error = nullptr);
    // Needs service and account.
    [[nodiscard]] bool deleteItem(base::Error* error = nullptr);
    // The attribute dictionaries of every item of the service (of every service when none is set), each
    // with its account under "acct"; nothing when there are none (error code ItemNotFound) or on failure.
    base::ArrayRef fetchAll(base::Error* error = nullptr);
    // Needs service and account; on success passwordData() holds the item's data.
    [[nodiscard]] bool fetch(base::Error* error = nullptr);

    // The base attribute dictionary: the class, the service, account and access group that are set, and
    // the synchronization mode when the platform supports synchronization.
    std::shared_ptr<base::MutableDictionary> query() const;

    static bool isSynchronizationAvailable();
    // Nothing for success; else an error in the application's domain whose description is the status's
    // text from the "Keychain" strings table (the table's key itself when the table lacks it).
    [[nodiscard]] static std::optional<base::Error> errorWithCode(security::Status status);

private:
    bool fail(security::Status status, base::Error* error) const;

    std::optional<std::string> m_account;
    std::optional<std::string> m_service;
    std::optional<std::string> m_label;
    std::optional<std::string> m_accessGroup;
    SynchronizationMode m_synchronizationMode { SynchronizationMode::Any };
    std::optional<base::Data> m_passwordData;
};

} // namespace keychain
