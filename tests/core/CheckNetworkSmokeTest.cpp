// The network check on the machine's real interfaces, against the default server: the local tracking
// service's loopback address is reachable on every machine.
#include "core/service/CheckNetwork.h"

#include "core/state/Singleton.h"

#include <gtest/gtest.h>

TEST(CheckNetworkSmoke, LocalServiceIsReachedOverTheLoopback)
{
    EXPECT_TRUE(core::CheckNetwork::isExistenceNetwork());
    EXPECT_EQ(core::Singleton::shared().currentNetworkContional(), 2);
    EXPECT_TRUE(core::CheckNetwork::isWIFI());
}
