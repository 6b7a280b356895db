#include "net/reachability/NetworkInterfaces.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ifaddrs.h>
#include <iterator>
#include <net/if.h>

namespace net {

namespace {

    std::filesystem::path sysfsFolder(const std::string& name)
    {
        return std::filesystem::path("/sys/class/net") / name;
    }

    bool isWireless(const std::string& name)
    {
        std::error_code ignored;
        return std::filesystem::exists(sysfsFolder(name) / "wireless", ignored)
            || std::filesystem::exists(sysfsFolder(name) / "phy80211", ignored);
    }

    // Cellular modems announce themselves as DEVTYPE=wwan; their drivers also name them wwanN.
    bool isCellular(const std::string& name)
    {
        if (name.starts_with("wwan"))
            return true;
        std::ifstream uevent(sysfsFolder(name) / "uevent");
        std::string line;
        while (std::getline(uevent, line))
            if (line == "DEVTYPE=wwan")
                return true;
        return false;
    }

    NetworkInterface& interfaceNamed(std::vector<NetworkInterface>& interfaces, const char* name)
    {
        auto found = std::find_if(interfaces.begin(), interfaces.end(), [&](auto& each) { return each.name == name; });
        if (found != interfaces.end())
            return *found;
        NetworkInterface& added = interfaces.emplace_back();
        added.name = name;
        return added;
    }

} // namespace

NetworkInterfaces::NetworkInterfaces(std::vector<NetworkInterface> interfaces, RouteTable routes)
    : m_interfaces(std::move(interfaces))
    , m_routes(std::move(routes))
{
}

std::optional<NetworkInterfaces> NetworkInterfaces::current()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return std::nullopt;
    std::vector<NetworkInterface> interfaces;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name)
            continue;
        NetworkInterface& interface = interfaceNamed(interfaces, entry->ifa_name);
        interface.up = entry->ifa_flags & IFF_UP;
        interface.running = entry->ifa_flags & IFF_RUNNING;
        interface.loopback = entry->ifa_flags & IFF_LOOPBACK;
        if (auto address = IPAddress::fromSocketAddress(entry->ifa_addr))
            interface.addresses.push_back(*address);
    }
    freeifaddrs(list);
    for (NetworkInterface& interface : interfaces) {
        interface.wireless = isWireless(interface.name);
        interface.cellular = isCellular(interface.name);
    }
    return NetworkInterfaces(std::move(interfaces), RouteTable::current());
}

const NetworkInterface* NetworkInterfaces::named(std::string_view name) const
{
    auto found = std::find_if(m_interfaces.begin(), m_interfaces.end(), [&](auto& each) { return each.name == name; });
    return found == m_interfaces.end() ? nullptr : &*found;
}

bool NetworkInterfaces::isUsable(const Route& route) const
{
    const NetworkInterface* interface = named(route.interface);
    return interface && interface->isActive();
}

ReachabilityFlags NetworkInterfaces::flagsOfRoute(const Route* route) const
{
    if (!route)
        return 0;
    ReachabilityFlags flags = reachability::Reachable;
    if (!route->viaGateway && !route->isDefault())
        flags |= reachability::IsDirect;
    if (named(route->interface)->cellular)
        flags |= reachability::IsWWAN;
    return flags;
}

ReachabilityFlags NetworkInterfaces::reachabilityOf(const IPAddress& address) const
{
    using namespace reachability;
    auto usable = [this](const Route& route) { return isUsable(route); };
    if (address.isUnspecified()) {
        auto isDefault = [&](const Route& route) { return route.isDefault() && usable(route); };
        const Route* route = m_routes.routeTo(IPAddress::v4({}), isDefault);
        return flagsOfRoute(route ? route : m_routes.routeTo(IPAddress::v6({}), isDefault));
    }
    for (const NetworkInterface& interface : m_interfaces) {
        if (!interface.isActive())
            continue;
        bool own
            = std::find(interface.addresses.begin(), interface.addresses.end(), address) != interface.addresses.end();
        if (own || (address.isLoopback() && interface.loopback))
            return Reachable | IsLocalAddress | IsDirect;
    }
    if (address.isLinkLocalIPv4()) {
        bool wifi = std::any_of(m_interfaces.begin(), m_interfaces.end(), [](const NetworkInterface& interface) {
            return interface.isActive() && interface.wireless
                && std::any_of(interface.addresses.begin(), interface.addresses.end(),
                    [](const IPAddress& own) { return own.family() == IPAddress::Family::IPv4; });
        });
        return wifi ? Reachable | IsDirect : 0;
    }
    return flagsOfRoute(m_routes.routeTo(address, usable));
}

} // namespace net
