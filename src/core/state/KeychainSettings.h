// core::KeychainSettings: the settings whose values are passwords ("kPassword", "kRePassword") live in the
// keychain, one item per key (service = the bundle identifier with ".settings", account = the key), never in
// the settings file. install() hands them to the standard user defaults once per process, which also moves a
// password that an older settings file still holds into the keychain. The settings accessors (Helper) and the
// remembered account install it before they touch the settings, so every reader and writer of those keys,
// through the accessors or straight through the user defaults, goes to the keychain. Any thread.
//
//   core::KeychainSettings::install();
//   base::UserDefaults::standard().setObject(base::Value(password), core::SettingsKeys::Password);
#pragma once

#include "base/system/SecretStore.h"

namespace core {

class KeychainSettings : public base::SecretStore {
public:
    static void install();

    std::optional<std::string> read(std::string_view key) override;
    [[nodiscard]] bool write(std::string_view key, const std::string& text) override;
    [[nodiscard]] bool remove(std::string_view key) override;
};

} // namespace core
