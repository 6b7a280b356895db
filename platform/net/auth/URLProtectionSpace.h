// net::URLProtectionSpace: where credentials apply: host, port, protocol, realm and the authentication
// method a server asked for (or server trust, for a TLS certificate that could not be verified). A value type.
//
//   net::URLProtectionSpace space { "127.0.0.1", 8080, "http", "tracking", net::URLProtectionSpace::HTTPBasic };
#pragma once

#include <compare>
#include <string>

namespace net {

struct URLProtectionSpace {
    static constexpr const char* HTTPBasic = "HTTPBasic";
    static constexpr const char* HTTPDigest = "HTTPDigest";
    static constexpr const char* Default = "Default";
    static constexpr const char* ServerTrust = "ServerTrust";
    static constexpr const char* ClientCertificate = "ClientCertificate";

    std::string host;
    int port { 0 };
    std::string protocol;
    std::string realm;
    std::string authenticationMethod { Default };

    auto operator<=>(const URLProtectionSpace&) const = default;
};

} // namespace net
