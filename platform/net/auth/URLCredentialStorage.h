// net::URLCredentialStorage: the process's credentials, by protection space and user, kept in memory only
// (credentials marked permanent are kept for the session too: nothing is written to disk). A space may have
// a default credential. Any thread.
//
//   auto& store = net::URLCredentialStorage::shared();
//   store.setDefaultCredential(net::URLCredential::withUser("ann", "pw", Persistence::ForSession), space);
//   std::optional<net::URLCredential> found = store.defaultCredential(space);
#pragma once

#include "net/auth/URLCredential.h"
#include "net/auth/URLProtectionSpace.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace net {

class URLCredentialStorage {
public:
    static URLCredentialStorage& shared();

    // The space's credentials by user name.
    std::map<std::string, URLCredential> credentials(const URLProtectionSpace& space) const;
    [[nodiscard]] std::optional<URLCredential> defaultCredential(const URLProtectionSpace& space) const;

    // A credential with persistence None is not stored.
    void setCredential(const URLCredential& credential, const URLProtectionSpace& space);
    // Stores the credential too, and makes it the space's default.
    void setDefaultCredential(const URLCredential& credential, const URLProtectionSpace& space);
    void removeCredential(const URLCredential& credential, const URLProtectionSpace& space);
    void removeAll();

private:
    struct Entry {
        std::map<std::string, URLCredential> byUser;
        std::optional<std::string> defaultUser;
    };

    mutable std::mutex m_mutex;
    std::map<URLProtectionSpace, Entry> m_spaces;
};

} // namespace net
