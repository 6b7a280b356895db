// keychain::Keychain: the application's password store, one KeychainQuery per call. Passwords are kept as
// generic-password items keyed by service (the application uses its bundle identifier) and account (the
// login name). Every call is synchronous on the calling thread and reports failures through the optional
// error out-slot (see KeychainQuery::errorWithCode).
//
//   keychain::Keychain::setPassword("secret", base::Bundle::main().identifier(), "ann");
//   std::optional<std::string> saved = keychain::Keychain::passwordForService(identifier, "ann");
//   for (const base::Value& item : *keychain::Keychain::allAccounts()) show(item.dictionary()->objectForKey("acct"));
#pragma once

#include "base/values/Array.h"
#include "base/values/Error.h"
#include "base/values/Value.h"

#include <optional>
#include <string>

namespace keychain {

class Keychain {
public:
    using Text = std::optional<std::string>;

    [[nodiscard]] static std::optional<std::string> passwordForService(
        const Text& service, const Text& account, base::Error* error = nullptr);
    [[nodiscard]] static std::optional<base::Data> passwordDataForService(
        const Text& service, const Text& account, base::Error* error = nullptr);
    [[nodiscard]] static bool deletePasswordForService(
        const Text& service, const Text& account, base::Error* error = nullptr);
    [[nodiscard]] static bool setPassword(
        const Text& password, const Text& service, const Text& account, base::Error* error = nullptr);
    [[nodiscard]] static bool setPasswordData(const std::optional<base::Data>& password, const Text& service,
        const Text& account, base::Error* error = nullptr);
    // The attribute dictionaries of every stored item; nothing when there are none.
    static base::ArrayRef allAccounts(base::Error* error = nullptr);
    static base::ArrayRef accountsForService(const Text& service, base::Error* error = nullptr);

    // The accessibility new items get and fetchAll filters on (one of security's Accessible... values);
    // none (the start value) adds items without one and lists them all. Set, if at all, before concurrent use.
    [[nodiscard]] static std::optional<std::string> accessibilityType();
    static void setAccessibilityType(std::optional<std::string> type);
};

} // namespace keychain
