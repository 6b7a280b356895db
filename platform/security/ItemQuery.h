// A parsed search of the keychain item store: which items a query dictionary selects and what a copy
// returns for them. Parsing refuses what the store cannot honour, so that a mistyped query fails rather
// than selecting more than it meant to.
//
//   auto query = security::ItemQuery::parse(dictionary);
//   if (!query) return security::status::Param;
//   for (auto& item : items) if (query->matches(item)) ...
#pragma once

#include "base/values/Dictionary.h"
#include "security/AttributeValue.h"
#include "security/KeychainItem.h"

#include <optional>
#include <string>

namespace security {

class ItemQuery {
public:
    using Synchronizable = attribute::Synchronizable;

    // Accepts the class (generic passwords only, required), service, account, label, access group,
    // accessibility, synchronizable (a bool or AttrSynchronizableAny; absent selects items that are not
    // synchronizable), ReturnData, ReturnAttributes (bools) and MatchLimit. Anything else, or a value of
    // the wrong kind, gives nothing.
    [[nodiscard]] static std::optional<ItemQuery> parse(const base::Dictionary& dictionary);

    bool matches(const KeychainItem& item) const;

    bool returnsData() const { return m_returnData; }
    bool returnsAttributes() const { return m_returnAttributes; }
    bool returnsAll() const { return m_returnAll; }

private:
    std::optional<std::string> m_service;
    std::optional<std::string> m_account;
    std::optional<std::string> m_label;
    std::optional<std::string> m_accessGroup;
    std::optional<std::string> m_accessible;
    Synchronizable m_synchronizable { Synchronizable::No };
    bool m_returnData { false };
    bool m_returnAttributes { false };
    bool m_returnAll { false };
};

} // namespace security
