// net::HostLookup: the addresses of a host name, looked up within a time limit. The system resolver can
// hang for its full time-outs when no name service answers; the lookup runs on a thread of its own and the
// caller stops waiting at the limit, getting the same answer as for a name that does not resolve (the
// late answer is dropped when it comes). A numeric address resolves at once. Thread: any; the caller
// blocks for at most the limit.
//
//   auto addresses = net::HostLookup().addresses("127.0.0.1");
//   net::HostLookup slow(resolver, 0ms); // tests replace the resolver and the limit
#pragma once

#include "net/reachability/IPAddress.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace net {

class HostLookup {
public:
    using Resolver = std::function<std::vector<IPAddress>(const std::string& name)>;

    static constexpr std::chrono::milliseconds DefaultLimit { 3000 };

    // The system resolver (getaddrinfo) within DefaultLimit.
    HostLookup();
    HostLookup(Resolver resolver, std::chrono::milliseconds limit);

    // The name's addresses in the resolver's order; none when it does not resolve within the limit.
    std::vector<IPAddress> addresses(const std::string& name) const;

private:
    static std::vector<IPAddress> systemResolve(const std::string& name);

    Resolver m_resolver;
    std::chrono::milliseconds m_limit;
};

} // namespace net
