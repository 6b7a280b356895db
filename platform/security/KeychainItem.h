// One stored generic-password item of the keychain item store. An item is identified by its service,
// account, access group and whether it is synchronizable; the store never holds two items with the same
// identity. A plain value.
//
//   security::KeychainItem item { .service = "com.example", .account = "ann", .data = {'p', 'w'} };
#pragma once

#include "base/values/Value.h"
#include "security/ItemKeys.h"

#include <optional>
#include <string>

namespace security {

struct KeychainItem {
    std::string service;
    std::string account;
    std::optional<std::string> label;
    std::optional<std::string> accessGroup;
    std::string accessible { AccessibleWhenUnlocked };
    bool synchronizable { false };
    base::Data data;

    bool hasSameIdentity(const KeychainItem& other) const
    {
        return service == other.service && account == other.account && accessGroup == other.accessGroup
            && synchronizable == other.synchronizable;
    }
    bool operator==(const KeychainItem&) const = default;
};

} // namespace security
