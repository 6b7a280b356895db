// net::NetworkInterfaces: a snapshot of the machine's network interfaces (from getifaddrs, with whether each
// is a wireless or a cellular-modem interface, from sysfs) and of its routes, and the reachability flags of
// an address that follow from them. Two snapshots compare equal when nothing that decides reachability has
// changed, so a periodic check can compare them cheaply. A plain value; taking one is quick (no name
// lookups, no traffic) and may run on any thread.
//
//   if (auto network = net::NetworkInterfaces::current())
//       net::ReachabilityFlags flags = network->reachabilityOf(net::IPAddress::v4({ 0, 0, 0, 0 }));
#pragma once

#include "net/reachability/IPAddress.h"
#include "net/reachability/ReachabilityFlags.h"
#include "net/reachability/RouteTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

struct NetworkInterface {
    std::string name;
    bool up { false };
    bool running { false };
    bool loopback { false };
    bool wireless { false };
    bool cellular { false };
    std::vector<IPAddress> addresses;

    bool isActive() const { return up && running; }
    bool operator==(const NetworkInterface&) const = default;
};

class NetworkInterfaces {
public:
    NetworkInterfaces(std::vector<NetworkInterface> interfaces, RouteTable routes);
    // The machine's interfaces and routes now; nothing when the interfaces cannot be listed.
    [[nodiscard]] static std::optional<NetworkInterfaces> current();

    const std::vector<NetworkInterface>& interfaces() const { return m_interfaces; }
    const RouteTable& routes() const { return m_routes; }
    const NetworkInterface* named(std::string_view name) const;

    // How the address can be reached, by these rules, using active interfaces only (up and running):
    // - the unspecified address (0.0.0.0, ::) stands for the internet: reachable through a default route,
    //   IPv4 before IPv6, lowest metric first;
    // - a loopback address or one of this machine's own addresses: reachable, local and direct;
    // - a link-local IPv4 address (169.254/16) stands for the local Wi-Fi: reachable and direct when a
    //   wireless interface has an IPv4 address;
    // - any other address: reachable through its route, direct when the route has no gateway.
    // A route through a cellular-modem interface adds IsWWAN. No route: 0.
    ReachabilityFlags reachabilityOf(const IPAddress& address) const;

    bool operator==(const NetworkInterfaces&) const = default;

private:
    ReachabilityFlags flagsOfRoute(const Route* route) const;
    bool isUsable(const Route& route) const;

    std::vector<NetworkInterface> m_interfaces;
    RouteTable m_routes;
};

} // namespace net
