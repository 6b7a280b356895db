// Runs the probe on the machine's real interfaces and resolver. What a test machine can reach varies;
// its loopback interface and "localhost" are always there.
#include "net/loading/HostLookup.h"
#include "net/reachability/NetworkInterfaces.h"
#include "net/reachability/ReachabilityProbe.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <netinet/in.h>

using namespace net;
using namespace net::reachability;

TEST(ReachabilitySmoke, MachineHasAnActiveLoopbackInterface)
{
    auto network = NetworkInterfaces::current();
    ASSERT_TRUE(network);
    EXPECT_TRUE(std::any_of(network->interfaces().begin(), network->interfaces().end(),
        [](const NetworkInterface& interface) { return interface.loopback && interface.isActive(); }));
    EXPECT_EQ(network->reachabilityOf(IPAddress::v4({ 127, 0, 0, 1 })), Reachable | IsLocalAddress | IsDirect);
    for (const Route& route : network->routes().routes())
        EXPECT_TRUE(network->named(route.interface)) << route.interface << " routes but is not listed";
}

TEST(ReachabilitySmoke, SystemResolverAnswersNumericAndLocalNames)
{
    EXPECT_EQ(HostLookup().addresses("127.0.0.1"), std::vector { IPAddress::v4({ 127, 0, 0, 1 }) });
    EXPECT_FALSE(HostLookup().addresses("localhost").empty());
    EXPECT_TRUE(HostLookup().addresses("").empty());
}

TEST(ReachabilitySmoke, ProbesGiveTheMachinesAnswer)
{
    EXPECT_EQ(ReachabilityProbe::forHostName("localhost")->flags(), Reachable | IsLocalAddress | IsDirect);

    sockaddr_in any {};
    any.sin_family = AF_INET;
    auto internet = ReachabilityProbe::forAddress(any);
    auto flags = internet->flags();
    ASSERT_TRUE(flags);
    EXPECT_EQ(*flags & ~(Reachable | IsWWAN), 0u) << "the internet is reached through a route, never locally";
}
