#include "net/auth/URLCredentialStorage.h"

namespace net {

URLCredentialStorage& URLCredentialStorage::shared()
{
    // Never destroyed: connections may still look credentials up while the process exits.
    static URLCredentialStorage* storage = new URLCredentialStorage;
    return *storage;
}

std::map<std::string, URLCredential> URLCredentialStorage::credentials(const URLProtectionSpace& space) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_spaces.find(space);
    return found == m_spaces.end() ? std::map<std::string, URLCredential>() : found->second.byUser;
}

std::optional<URLCredential> URLCredentialStorage::defaultCredential(const URLProtectionSpace& space) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_spaces.find(space);
    if (found == m_spaces.end() || !found->second.defaultUser)
        return std::nullopt;
    auto credential = found->second.byUser.find(*found->second.defaultUser);
    if (credential == found->second.byUser.end())
        return std::nullopt;
    return credential->second;
}

void URLCredentialStorage::setCredential(const URLCredential& credential, const URLProtectionSpace& space)
{
    if (credential.persistence() == URLCredential::Persistence::None || credential.acceptsServerTrust())
        return;
    std::lock_guard lock(m_mutex);
    m_spaces[space].byUser.insert_or_assign(credential.user(), credential);
}

void URLCredentialStorage::setDefaultCredential(const URLCredential& credential, const URLProtectionSpace& space)
{
    if (credential.persistence() == URLCredential::Persistence::None || credential.acceptsServerTrust())
        return;
    std::lock_guard lock(m_mutex);
    Entry& entry = m_spaces[space];
    entry.byUser.insert_or_assign(credential.user(), credential);
    entry.defaultUser = credential.user();
}

void URLCredentialStorage::removeCredential(const URLCredential& credential, const URLProtectionSpace& space)
{
    std::lock_guard lock(m_mutex);
    auto found = m_spaces.find(space);
    if (found == m_spaces.end())
        return;
    found->second.byUser.erase(credential.user());
    if (found->second.defaultUser == credential.user())
        found->second.defaultUser.reset();
}

void URLCredentialStorage::removeAll()
{
    std::lock_guard lock(m_mutex);
    m_spaces.clear();
}

} // namespace net
