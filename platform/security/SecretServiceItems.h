// security::SecretServiceItems: the keychain item store's items kept in the session's Secret Service (the
// desktop's keyring, reached through libsecret), one secret item per keychain item in the default collection.
// A secret item carries the keychain item's identity and attributes as its lookup attributes (service,
// account, access group, synchronizable, accessibility) under this application's schema, its label as the
// secret item's label, and its data as the secret, so nothing of another program is ever read or changed.
//
// Thread: any; calls block on the session bus. The store (KeychainStore) serializes them.
//
//   std::string reason;
//   if (auto secrets = security::SecretServiceItems::connect(&reason)) items = secrets->read().items;
#pragma once

#include "security/KeychainItem.h"
#include "security/Status.h"

#include <memory>
#include <string>
#include <vector>

namespace security {

class SecretServiceItems {
public:
    // The session's Secret Service, when one answers and its default collection is there and unlocked (no
    // prompt can be shown from here); nothing otherwise, with the reason.
    static std::shared_ptr<SecretServiceItems> connect(std::string* reason = nullptr);
    ~SecretServiceItems();
    SecretServiceItems(const SecretServiceItems&) = delete;
    SecretServiceItems& operator=(const SecretServiceItems&) = delete;

    struct Contents {
        Status status { status::Success };
        std::vector<KeychainItem> items;
    };
    // Every item of this application's schema.
    Contents read();
    // Changes the stored items from `before` (what read() gave) to `after`: new identities are created,
    // changed items are updated in place, and only then are vanished identities deleted, so that a failure
    // half-way loses no item that `after` keeps. NotAvailable when the service refuses a step.
    Status write(const std::vector<KeychainItem>& before, const std::vector<KeychainItem>& after);

private:
    struct Handles;
    explicit SecretServiceItems(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> m_handles;
};

} // namespace security
