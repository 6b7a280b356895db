// net::RouteTable: the machine's usable routes, read from the kernel's routing tables (/proc/net/route
// and /proc/net/ipv6_route). Routes that are down or that reject traffic are left out. routeTo() picks the
// route the kernel would use for an address: the longest matching prefix, the lowest metric among equals.
// A plain value; reading the tables is quick and may run on any thread.
//
//   auto table = net::RouteTable::parse(ipv4Text, ipv6Text);
//   if (const net::Route* route = table.routeTo(address)) use(route->interface);
#pragma once

#include "net/reachability/IPAddress.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

struct Route {
    std::string interface;
    IPAddress destination;
    int prefixLength { 0 };
    bool viaGateway { false };
    uint32_t metric { 0 };

    bool isDefault() const { return prefixLength == 0; }
    bool operator==(const Route&) const = default;
};

class RouteTable {
public:
    // Lines that do not have the kernel's format are skipped.
    static RouteTable parse(std::string_view ipv4Table, std::string_view ipv6Table);
    // The machine's current routes (none when the tables cannot be read).
    static RouteTable current();

    const std::vector<Route>& routes() const { return m_routes; }
    // The route the kernel would use for the address among those `usable` accepts (all when empty).
    const Route* routeTo(const IPAddress& address, const std::function<bool(const Route&)>& usable = {}) const;

    bool operator==(const RouteTable&) const = default;

private:
    std::vector<Route> m_routes;
};

} // namespace net
