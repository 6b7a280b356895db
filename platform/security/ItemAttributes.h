// Translation between the keychain item store's attribute dictionaries and its items: the item an add
// describes, the change an update describes, and the attribute dictionary a copy returns.
//
//   auto item = security::ItemAttributes::itemToAdd(attributes);   // nothing: bad parameters
//   base::DictionaryRef shown = security::ItemAttributes::describe(*item, false);
#pragma once

#include "base/values/Dictionary.h"
#include "security/KeychainItem.h"

#include <optional>
#include <string>

namespace security {

// The parts of an item an update may replace.
struct ItemChange {
    std::optional<base::Data> data;
    std::optional<std::string> label;
    std::optional<std::string> accessible;

    void applyTo(KeychainItem& item) const;
};

class ItemAttributes {
public:
    // Accepts the class (generic passwords only, required), service, account, label, access group,
    // accessibility, synchronizable and the data. A missing service or account is empty, missing data is
    // empty, and AttrSynchronizableAny adds an item that is not synchronizable.
    [[nodiscard]] static std::optional<KeychainItem> itemToAdd(const base::Dictionary& attributes);
    // Accepts the data, the label and the accessibility.
    [[nodiscard]] static std::optional<ItemChange> change(const base::Dictionary& changes);
    // The item's attributes under their keys, with its data under ValueData when asked for.
    static base::DictionaryRef describe(const KeychainItem& item, bool withData);
};

} // namespace security
