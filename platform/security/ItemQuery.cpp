#include "security/ItemQuery.h"

#include "security/AttributeValue.h"
#include "security/ItemKeys.h"

namespace security {

namespace {

    bool readFlag(const base::Value& value, bool& into)
    {
        auto flag = attribute::flag(value);
        into = flag.value_or(false);
        return flag.has_value();
    }

    bool readSynchronizable(const base::Value& value, ItemQuery::Synchronizable& into)
    {
        auto synchronizable = attribute::synchronizable(value);
        if (synchronizable)
            into = *synchronizable;
        return synchronizable.has_value();
    }

    bool readLimit(const base::Value& value, bool& returnAll)
    {
        auto text = attribute::text(value);
        returnAll = text == MatchLimitAll;
        return text == MatchLimitAll || text == MatchLimitOne;
    }

} // namespace

std::optional<ItemQuery> ItemQuery::parse(const base::Dictionary& dictionary)
{
    ItemQuery query;
    bool hasClass = false;
    for (auto [keyValue, value] : dictionary) {
        const std::string* key = keyValue->string();
        bool accepted = false;
        if (!key)
            accepted = false;
        else if (*key == Class)
            accepted = hasClass = attribute::isGenericPasswordClass(*value);
        else if (*key == AttrService)
            accepted = attribute::readText(*value, query.m_service);
        else if (*key == AttrAccount)
            accepted = attribute::readText(*value, query.m_account);
        else if (*key == AttrLabel)
            accepted = attribute::readText(*value, query.m_label);
        else if (*key == AttrAccessGroup)
            accepted = attribute::readText(*value, query.m_accessGroup);
        else if (*key == AttrAccessible)
            accepted = attribute::readText(*value, query.m_accessible);
        else if (*key == AttrSynchronizable)
            accepted = readSynchronizable(*value, query.m_synchronizable);
        else if (*key == ReturnData)
            accepted = readFlag(*value, query.m_returnData);
        else if (*key == ReturnAttributes)
            accepted = readFlag(*value, query.m_returnAttributes);
        else if (*key == MatchLimit)
            accepted = readLimit(*value, query.m_returnAll);
        if (!accepted)
            return std::nullopt;
    }
    if (!hasClass)
        return std::nullopt;
    return query;
}

bool ItemQuery::matches(const KeychainItem& item) const
{
    auto selects = [](const std::optional<std::string>& wanted, const std::string& actual) {
        return !wanted || *wanted == actual;
    };
    if (!selects(m_service, item.service) || !selects(m_account, item.account)
        || !selects(m_accessible, item.accessible))
        return false;
    if (m_label && item.label != m_label)
        return false;
    if (m_accessGroup && item.accessGroup != m_accessGroup)
        return false;
    switch (m_synchronizable) {
    case Synchronizable::No:
        return !item.synchronizable;
    case Synchronizable::Yes:
        return item.synchronizable;
    case Synchronizable::Any:
        return true;
    }
    return false;
}

} // namespace security
