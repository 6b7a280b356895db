#include "net/reachability/NetworkInterfaces.h"

#include <gtest/gtest.h>

using namespace net;
using namespace net::reachability;

namespace {

NetworkInterface active(std::string name, std::vector<IPAddress> addresses = {})
{
    NetworkInterface interface;
    interface.name = std::move(name);
    interface.up = interface.running = true;
    interface.addresses = std::move(addresses);
    return interface;
}

NetworkInterface loopback()
{
    NetworkInterface lo = active("lo", { IPAddress::v4({ 127, 0, 0, 1 }) });
    lo.loopback = true;
    return lo;
}

NetworkInterface wireless(std::string name, std::vector<IPAddress> addresses)
{
    NetworkInterface interface = active(std::move(name), std::move(addresses));
    interface.wireless = true;
    return interface;
}

NetworkInterface cellular(std::string name)
{
    NetworkInterface interface = active(std::move(name), { IPAddress::v4({ 10, 64, 1, 2 }) });
    interface.cellular = true;
    return interface;
}

// Kernel table lines: a default route through 192.168.1.1 and the directly attached 192.168.1.0/24.
std::string ipv4Routes(const char* interface, const char* flags = "0003", const char* metric = "100")
{
    return std::string("Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\tMTU\tWindow\tIRTT\n")
        + interface + "\t00000000\t0101A8C0\t" + flags + "\t0\t0\t" + metric + "\t00000000\t0\t0\t0\n"
        + interface + "\t0001A8C0\t00000000\t0001\t0\t0\t" + metric + "\t00FFFFFF\t0\t0\t0\n";
}

const IPAddress internet = IPAddress::v4({ 0, 0, 0, 0 });
const IPAddress localWiFi = IPAddress::v4({ 169, 254, 0, 0 });

} // namespace

TEST(InterfaceReachability, NoInterfacesReachNothing)
{
    NetworkInterfaces none({}, RouteTable());
    EXPECT_EQ(none.reachabilityOf(internet), 0u);
    EXPECT_EQ(none.reachabilityOf(IPAddress::v4({ 127, 0, 0, 1 })), 0u);
    EXPECT_EQ(none.reachabilityOf(localWiFi), 0u);
}

TEST(InterfaceReachability, InternetFollowsTheDefaultRoute)
{
    NetworkInterfaces wired({ loopback(), active("eth0", { IPAddress::v4({ 192, 168, 1, 7 }) }) },
        RouteTable::parse(ipv4Routes("eth0"), ""));
    EXPECT_EQ(wired.reachabilityOf(internet), Reachable);

    NetworkInterfaces mobile({ loopback(), cellular("wwan0") }, RouteTable::parse(ipv4Routes("wwan0"), ""));
    EXPECT_EQ(mobile.reachabilityOf(internet), Reachable | IsWWAN);

    NetworkInterface down = active("eth0");
    down.running = false;
    NetworkInterfaces cableOut({ loopback(), down }, RouteTable::parse(ipv4Routes("eth0"), ""));
    EXPECT_EQ(cableOut.reachabilityOf(internet), 0u) << "a route through an interface that is not running";

    NetworkInterfaces onlyLocal({ loopback() }, RouteTable());
    EXPECT_EQ(onlyLocal.reachabilityOf(internet), 0u);
}

TEST(InterfaceReachability, PreferredDefaultRouteDecidesBetweenWiFiAndCellular)
{
    std::string routes = ipv4Routes("wlan0", "0003", "600") + ipv4Routes("wwan0", "0003", "700");
    NetworkInterfaces both(
        { wireless("wlan0", { IPAddress::v4({ 192, 168, 1, 7 }) }), cellular("wwan0") }, RouteTable::parse(routes, ""));
    EXPECT_EQ(both.reachabilityOf(internet), Reachable);

    NetworkInterface wifiOff = wireless("wlan0", {});
    wifiOff.up = false;
    NetworkInterfaces cellularOnly({ wifiOff, cellular("wwan0") }, RouteTable::parse(routes, ""));
    EXPECT_EQ(cellularOnly.reachabilityOf(internet), Reachable | IsWWAN);
}

TEST(InterfaceReachability, IPv6DefaultRouteCountsWhenThereIsNoIPv4One)
{
    std::string ipv6 = "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                       "fe800000000000000000000000000001 00000400 00000001 00000000 00000003     eth0\n";
    NetworkInterfaces network({ active("eth0") }, RouteTable::parse("", ipv6));
    EXPECT_EQ(network.reachabilityOf(internet), Reachable);
}

TEST(InterfaceReachability, LoopbackAndOwnAddressesAreLocalAndDirect)
{
    NetworkInterfaces network({ loopback(), active("eth0", { IPAddress::v4({ 192, 168, 1, 7 }) }) }, RouteTable());
    EXPECT_EQ(network.reachabilityOf(IPAddress::v4({ 127, 0, 0, 1 })), Reachable | IsLocalAddress | IsDirect);
    EXPECT_EQ(network.reachabilityOf(IPAddress::v4({ 127, 8, 8, 8 })), Reachable | IsLocalAddress | IsDirect);
    EXPECT_EQ(network.reachabilityOf(IPAddress::v4({ 192, 168, 1, 7 })), Reachable | IsLocalAddress | IsDirect);
    EXPECT_EQ(network.reachabilityOf(IPAddress::v4({ 192, 168, 1, 8 })), 0u) << "no route";
}

TEST(InterfaceReachability, OtherAddressesFollowTheirRoute)
{
    NetworkInterfaces network({ active("eth0", { IPAddress::v4({ 192, 168, 1, 7 }) }), cellular("wwan0") },
        RouteTable::parse(ipv4Routes("eth0") + "wwan0\t0000400A\t00000000\t0001\t0\t0\t0\t0000FFFF\t0\t0\t0\n", ""));
    EXPECT_EQ(network.reachabilityOf(IPAddress::v4({ 192, 168, 1, 20 })), Reachable | IsDirect) << "on the link";
    EXPECT_EQ(network.reachabilityOf(IPAddress::v4({ 8, 8, 4, 4 })), Reachable) << "through the gateway";
    EXPECT_EQ(network.reachabilityOf(IPAddress::v4({ 10, 64, 9, 9 })), Reachable | IsDirect | IsWWAN)
        << "the longest prefix wins over the default route";
}

TEST(InterfaceReachability, LocalWiFiNeedsAnAddressedWirelessInterface)
{
    NetworkInterfaces wifi({ wireless("wlan0", { IPAddress::v4({ 192, 168, 1, 7 }) }) }, RouteTable());
    EXPECT_EQ(wifi.reachabilityOf(localWiFi), Reachable | IsDirect);

    NetworkInterfaces wired({ active("eth0", { IPAddress::v4({ 192, 168, 1, 7 }) }) }, RouteTable());
    EXPECT_EQ(wired.reachabilityOf(localWiFi), 0u);

    NetworkInterfaces unassociated({ wireless("wlan0", {}) }, RouteTable());
    EXPECT_EQ(unassociated.reachabilityOf(localWiFi), 0u);
}
