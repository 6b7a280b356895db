// net::AuthenticationChallengeHeader: the first challenge in a "WWW-Authenticate" value that libcurl can
// answer (Basic or Digest), with its realm. Pure; any thread.
//
//   auto challenge = net::AuthenticationChallengeHeader::parse("Digest realm=\"api\", nonce=\"x\"");
//   challenge->method; // URLProtectionSpace::HTTPDigest
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace net {

struct AuthenticationChallengeHeader {
    // URLProtectionSpace::HTTPBasic or URLProtectionSpace::HTTPDigest.
    std::string method;
    std::string realm;

    [[nodiscard]] static std::optional<AuthenticationChallengeHeader> parse(std::string_view value);
};

} // namespace net
