#include "base/values/Error.h"

namespace base {

Error::Error(std::string domain, long code, Dictionary::Pairs userInfo, std::shared_ptr<const Error> underlying)
    : Error(std::move(domain), code, Dictionary::make(std::move(userInfo)), std::move(underlying))
{
}

Error::Error(std::string domain, long code, DictionaryRef userInfo, std::shared_ptr<const Error> underlying)
    : m_domain(std::move(domain))
    , m_code(code)
    , m_userInfo(userInfo ? std::move(userInfo) : Dictionary::make())
    , m_underlying(std::move(underlying))
{
}

std::string Error::localizedDescription() const
{
    const Value* description = userInfoValue(LocalizedDescriptionKey);
    if (description && description->isString())
        return *description->string();
    return "The operation couldn't be completed. (" + m_domain + " error " + std::to_string(m_code) + ".)";
}

const Value* Error::userInfoValue(std::string_view key) const
{
    return m_userInfo ? m_userInfo->objectForKey(key) : nullptr;
}

// Error Domain=URLErrorDomain Code=-1001 "The request timed out." UserInfo={LocalizedDescription=...}
std::string Error::description() const
{
    std::string text
        = "Error Domain=" + m_domain + " Code=" + std::to_string(m_code) + " \"" + localizedDescription() + "\"";
    if (m_userInfo && m_userInfo->count()) {
        text += " UserInfo={";
        bool first = true;
        for (auto [key, value] : *m_userInfo) {
            if (!first)
                text += ", ";
            first = false;
            text += key->stringValue() + "=" + value->stringValue();
        }
        text += '}';
    }
    return text;
}

void setError(Error* slot, Error error)
{
    if (slot && slot->isEmpty())
        *slot = std::move(error);
}

} // namespace base
