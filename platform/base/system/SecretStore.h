// base::SecretStore: where UserDefaults keeps the texts of the keys that must never be written to its file
// (passwords). The platform knows no such store itself; the application supplies one over its keychain and
// hands it to UserDefaults::keepInSecretStore. Implementations are safe from any thread.
//
//   class MemoryStore : public base::SecretStore { ... };
//   defaults.keepInSecretStore({ "kPassword" }, std::make_shared<MemoryStore>());
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace base {

class SecretStore {
public:
    virtual ~SecretStore() = default;
    // The key's text; nothing when the store holds none (or cannot be read).
    virtual std::optional<std::string> read(std::string_view key) = 0;
    // False when the text could not be kept.
    [[nodiscard]] virtual bool write(std::string_view key, const std::string& text) = 0;
    // False when a text the store holds could not be removed.
    [[nodiscard]] virtual bool remove(std::string_view key) = 0;
};

} // namespace base
