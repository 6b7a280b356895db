#include "security/ItemAttributes.h"

#include "security/AttributeValue.h"
#include "security/ItemKeys.h"

namespace security {

namespace {

    bool readText(const base::Value& value, std::string& into)
    {
        auto text = attribute::text(value);
        if (text)
            into = std::move(*text);
        return text.has_value();
    }

    bool readAccessible(const base::Value& value, std::optional<std::string>& into)
    {
        return attribute::readText(value, into) && isAccessibilityValue(*into);
    }

    bool readData(const base::Value& value, std::optional<base::Data>& into)
    {
        into = attribute::data(value);
        return into.has_value();
    }

    // An item added with AttrSynchronizableAny is not synchronizable.
    bool readSynchronizable(const base::Value& value, bool& into)
    {
        auto synchronizable = attribute::synchronizable(value);
        into = synchronizable == attribute::Synchronizable::Yes;
        return synchronizable.has_value();
    }

} // namespace

void ItemChange::applyTo(KeychainItem& item) const
{
    if (data)
        item.data = *data;
    if (label)
        item.label = *label;
    if (accessible)
        item.accessible = *accessible;
}

std::optional<KeychainItem> ItemAttributes::itemToAdd(const base::Dictionary& attributes)
{
    KeychainItem item;
    bool hasClass = false;
    for (auto [keyValue, value] : attributes) {
        const std::string* key = keyValue->string();
        std::optional<std::string> accessible;
        std::optional<base::Data> data;
        bool accepted = false;
        if (!key)
            accepted = false;
        else if (*key == Class)
            accepted = hasClass = attribute::isGenericPasswordClass(*value);
        else if (*key == AttrService)
            accepted = readText(*value, item.service);
        else if (*key == AttrAccount)
            accepted = readText(*value, item.account);
        else if (*key == AttrLabel)
            accepted = attribute::readText(*value, item.label);
        else if (*key == AttrAccessGroup)
            accepted = attribute::readText(*value, item.accessGroup);
        else if (*key == AttrAccessible && (accepted = readAccessible(*value, accessible)))
            item.accessible = *accessible;
        else if (*key == AttrSynchronizable)
            accepted = readSynchronizable(*value, item.synchronizable);
        else if (*key == ValueData && (accepted = readData(*value, data)))
            item.data = std::move(*data);
        if (!accepted)
            return std::nullopt;
    }
    if (!hasClass)
        return std::nullopt;
    return item;
}

std::optional<ItemChange> ItemAttributes::change(const base::Dictionary& changes)
{
    ItemChange change;
    for (auto [keyValue, value] : changes) {
        const std::string* key = keyValue->string();
        bool accepted = false;
        if (!key)
            accepted = false;
        else if (*key == ValueData)
            accepted = readData(*value, change.data);
        else if (*key == AttrLabel)
            accepted = attribute::readText(*value, change.label);
        else if (*key == AttrAccessible)
            accepted = readAccessible(*value, change.accessible);
        if (!accepted)
            return std::nullopt;
    }
    return change;
}

base::DictionaryRef ItemAttributes::describe(const KeychainItem& item, bool withData)
{
    auto attributes = base::MutableDictionary::make();
    attributes->setObject(base::Value(ClassGenericPassword), Class);
    attributes->setObject(base::Value(item.service), AttrService);
    attributes->setObject(base::Value(item.account), AttrAccount);
    if (item.label)
        attributes->setObject(base::Value(*item.label), AttrLabel);
    if (item.accessGroup)
        attributes->setObject(base::Value(*item.accessGroup), AttrAccessGroup);
    attributes->setObject(base::Value(item.accessible), AttrAccessible);
    attributes->setObject(base::Value(item.synchronizable), AttrSynchronizable);
    if (withData)
        attributes->setObject(base::Value(item.data), ValueData);
    return attributes->copy();
}

} // namespace security
