#include "net/reachability/RouteTable.h"

#include <gtest/gtest.h>

using namespace net;

TEST(InterfaceRouteTable, ReadsTheKernelsIPv4Table)
{
    auto table
        = RouteTable::parse("Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
                            "eth0\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
                            "eth0\t0000A8C0\t00000000\t0001\t0\t0\t100\t0000FFFF\t0\t0\t0\n"
                            "eth1\t0000000A\t00000000\t0201\t0\t0\t0\t000000FF\t0\t0\t0\n"
                            "eth1\t0000100A\t00000000\t0000\t0\t0\t0\t0000FFFF\t0\t0\t0\n"
                            "broken line\n",
            "");

    ASSERT_EQ(table.routes().size(), 2u) << "rejecting and down routes are left out";
    EXPECT_EQ(table.routes()[0], (Route { "eth0", IPAddress::v4({ 0, 0, 0, 0 }), 0, true, 100 }));
    EXPECT_EQ(table.routes()[1], (Route { "eth0", IPAddress::v4({ 192, 168, 0, 0 }), 16, false, 100 }));
}

TEST(InterfaceRouteTable, ReadsTheKernelsIPv6Table)
{
    auto table = RouteTable::parse("",
        "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 "
        "00000000000000000000000000000000 00000100 00000001 00000000 00000001     eth0\n"
        "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
        "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n");

    ASSERT_EQ(table.routes().size(), 1u) << "the unreachable default route on lo is left out";
    std::array<uint8_t, 16> linkLocal {};
    linkLocal[0] = 0xfe;
    linkLocal[1] = 0x80;
    EXPECT_EQ(table.routes()[0], (Route { "eth0", IPAddress::v6(linkLocal), 64, false, 256 }));
}

TEST(InterfaceRouteTable, PicksTheLongestPrefixThenTheLowestMetric)
{
    auto table = RouteTable::parse("eth0\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
                                   "wlan0\t00000000\t0100A8C0\t0003\t0\t0\t50\t00000000\t0\t0\t0\n"
                                   "eth0\t0001A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n",
        "");

    EXPECT_EQ(table.routeTo(IPAddress::v4({ 192, 168, 1, 9 }))->interface, "eth0");
    EXPECT_EQ(table.routeTo(IPAddress::v4({ 192, 168, 2, 9 }))->interface, "wlan0");
    EXPECT_EQ(
        table.routeTo(IPAddress::v4({ 192, 168, 2, 9 }), [](const Route& route) { return route.interface != "wlan0"; })
            ->interface,
        "eth0");
    EXPECT_EQ(table.routeTo(IPAddress::v6({})), nullptr);
}
