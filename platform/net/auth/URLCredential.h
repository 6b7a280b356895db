// net::URLCredential: an answer to an authentication challenge: a user name and password kept for this
// request only, for the session or permanently; or the acceptance of a server's certificate that could not
// be verified. A value type.
//
//   auto credential = net::URLCredential::withUser("ann", "secret", net::URLCredential::Persistence::None);
//   auto trust = net::URLCredential::acceptingServerTrust();
#pragma once

#include <string>

namespace net {

class URLCredential {
public:
    enum class Persistence { None, ForSession, Permanent };

    static URLCredential withUser(std::string user, std::string password, Persistence persistence)
    {
        URLCredential credential;
        credential.m_user = std::move(user);
        credential.m_password = std::move(password);
        credential.m_persistence = persistence;
        return credential;
    }
    static URLCredential acceptingServerTrust()
    {
        URLCredential credential;
        credential.m_acceptsServerTrust = true;
        return credential;
    }

    const std::string& user() const { return m_user; }
    const std::string& password() const { return m_password; }
    Persistence persistence() const { return m_persistence; }
    bool acceptsServerTrust() const { return m_acceptsServerTrust; }

    bool operator==(const URLCredential&) const = default;

private:
    URLCredential() = default;
    std::string m_user;
    std::string m_password;
    Persistence m_persistence { Persistence::None };
    bool m_acceptsServerTrust { false };
};

} // namespace net
