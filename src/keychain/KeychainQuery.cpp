#include "keychain/KeychainQuery.h"

#include "base/system/Bundle.h"
#include "base/system/Facts.h"
#include "base/text/Localization.h"
#include "base/text/UTF8.h"
#include "keychain/Keychain.h"
#include "security/ItemKeys.h"
#include "security/KeychainStore.h"

#include <cmath>

namespace keychain {

namespace {

    const char* messageKey(security::Status status)
    {
        namespace status_ = security::status;
        switch (status) {
        case KeychainQuery::BadArguments:
            return "KeychainErrorBadArguments";
        case status_::Unimplemented:
            return "errSecUnimplemented";
        case status_::Param:
            return "errSecParam";
        case status_::Allocate:
            return "errSecAllocate";
        case status_::NotAvailable:
            return "errSecNotAvailable";
        case status_::AuthFailed:
            return "errSecAuthFailed";
        case status_::DuplicateItem:
            return "errSecDuplicateItem";
        case status_::ItemNotFound:
            return "errSecItemNotFound";
        case status_::InteractionNotAllowed:
            return "errSecInteractionNotAllowed";
        case status_::Decode:
            return "errSecDecode";
        default:
            return "errSecDefault";
        }
    }

    security::KeychainStore& store() { return security::KeychainStore::shared(); }

} // namespace

std::optional<std::string> KeychainQuery::password() const
{
    if (!m_passwordData || m_passwordData->empty())
        return std::nullopt;
    std::string text(m_passwordData->begin(), m_passwordData->end());
    if (!base::utf8::isValid(text))
        return std::nullopt;
    return text;
}

void KeychainQuery::setPassword(const std::optional<std::string>& password)
{
    if (!password) {
        m_passwordData.reset();
        return;
    }
    m_passwordData = base::Data(password->begin(), password->end());
}

std::shared_ptr<base::MutableDictionary> KeychainQuery::query() const
{
    auto query = base::MutableDictionary::make();
    query->setObject(base::Value(security::ClassGenericPassword), security::Class);
    if (m_service)
        query->setObject(base::Value(*m_service), security::AttrService);
    if (m_account)
        query->setObject(base::Value(*m_account), security::AttrAccount);
    if (m_accessGroup)
        query->setObject(base::Value(*m_accessGroup), security::AttrAccessGroup);
    if (isSynchronizationAvailable()) {
        switch (m_synchronizationMode) {
        case SynchronizationMode::Any:
            query->setObject(base::Value(security::AttrSynchronizableAny), security::AttrSynchronizable);
            break;
        case SynchronizationMode::No:
            query->setObject(base::Value(false), security::AttrSynchronizable);
            break;
        case SynchronizationMode::Yes:
            query->setObject(base::Value(true), security::AttrSynchronizable);
            break;
        }
    }
    return query;
}

bool KeychainQuery::fail(security::Status status, base::Error* error) const
{
    if (auto made = errorWithCode(status))
        base::setError(error, std::move(*made));
    return false;
}

bool KeychainQuery::save(base::Error* error)
{
    if (!m_service || !m_account || !m_passwordData)
        return fail(BadArguments, error);
    security::Status status = store().copyMatching(*query());
    if (status == security::status::ItemNotFound) {
        auto attributes = query();
        if (m_label)
            attributes->setObject(base::Value(*m_label), security::AttrLabel);
        attributes->setObject(base::Value(*m_passwordData), security::ValueData);
        if (auto accessibility = Keychain::accessibilityType())
            attributes->setObject(base::Value(*accessibility), security::AttrAccessible);
        status = store().add(*attributes);
    } else if (status == security::status::Success) {
        status = store().update(*query(), *base::Dictionary::make({ { security::ValueData, *m_passwordData } }));
    }
    return status == security::status::Success || fail(status, error);
}

bool KeychainQuery::deleteItem(base::Error* error)
{
    if (!m_service || !m_account)
        return fail(BadArguments, error);
    security::Status status = store().remove(*query());
    return status == security::status::Success || fail(status, error);
}

base::ArrayRef KeychainQuery::fetchAll(base::Error* error)
{
    auto search = query();
    search->setObject(base::Value(true), security::ReturnAttributes);
    search->setObject(base::Value(security::MatchLimitAll), security::MatchLimit);
    if (auto accessibility = Keychain::accessibilityType())
        search->setObject(base::Value(*accessibility), security::AttrAccessible);
    std::optional<base::Value> result;
    security::Status status = store().copyMatching(*search, &result);
    if (status != security::status::Success) {
        fail(status, error);
        return nullptr;
    }
    return result->array();
}

bool KeychainQuery::fetch(base::Error* error)
{
    if (!m_service || !m_account)
        return fail(BadArguments, error);
    auto search = query();
    search->setObject(base::Value(true), security::ReturnData);
    search->setObject(base::Value(security::MatchLimitOne), security::MatchLimit);
    std::optional<base::Value> result;
    security::Status status = store().copyMatching(*search, &result);
    if (status != security::status::Success)
        return fail(status, error);
    m_passwordData = *result->data();
    return true;
}

bool KeychainQuery::isSynchronizationAvailable()
{
    return std::floor(base::Facts::current().platformVersionNumber()) > 993.0;
}

std::optional<base::Error> KeychainQuery::errorWithCode(security::Status status)
{
    if (status == security::status::Success)
        return std::nullopt;
    std::string description = base::Localization::main().localizedString(messageKey(status), "", "Keychain");
    return base::Error(base::Bundle::main().identifier(), status,
        { { base::Value(base::Error::LocalizedDescriptionKey), base::Value(description) } });
}

} // namespace keychain
