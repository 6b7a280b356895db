#include "reachability/Reachability.h"

#include "base/time/ManualClock.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>

using namespace reachability;
using namespace net::reachability;

namespace {

class ReachabilityTest : public testing::Test {
protected:
    std::optional<net::ReachabilityFlags> m_injected { Reachable };
    net::ReachabilityProbe::ScopedFlagsOverride m_override { [this](const net::ReachabilityProbe&) {
        return m_injected;
    } };
    std::shared_ptr<Reachability> m_host = Reachability::reachabilityWithHostName("tracking.example");
};

} // namespace

TEST_F(ReachabilityTest, StatusForFlagsFollowsTheRulesInOrder)
{
    EXPECT_EQ(m_host->networkStatusForFlags(Reachable), ReachableViaWiFi);
    EXPECT_EQ(m_host->networkStatusForFlags(Reachable | IsWWAN), ReachableViaWWAN);
    EXPECT_EQ(m_host->networkStatusForFlags(IsWWAN), NotReachable) << "cellular but not reachable";
    EXPECT_EQ(m_host->networkStatusForFlags(Reachable | TransientConnection | ConnectionRequired), NotReachable);
    EXPECT_EQ(
        m_host->networkStatusForFlags(Reachable | TransientConnection | ConnectionRequired | IsDirect), NotReachable)
        << "direct and local bits do not count";
    EXPECT_EQ(m_host->networkStatusForFlags(Reachable | TransientConnection), ReachableViaWiFi);
    EXPECT_EQ(m_host->networkStatusForFlags(Reachable | ConnectionRequired | ConnectionOnTraffic), ReachableViaWiFi);
    EXPECT_EQ(m_host->networkStatusForFlags(Reachable | ConnectionOnTraffic), NotReachable);
    EXPECT_EQ(m_host->networkStatusForFlags(Reachable | IsLocalAddress | IsDirect), ReachableViaWiFi);
    EXPECT_EQ(m_host->networkStatusForFlags(0), NotReachable);
}

TEST_F(ReachabilityTest, LocalWiFiCountsOnlyDirectReachability)
{
    auto wifi = Reachability::reachabilityForLocalWiFi();
    EXPECT_EQ(wifi->key(), Reachability::LocalWiFiConnectionKey);
    EXPECT_EQ(wifi->networkStatusForFlags(Reachable | IsDirect), ReachableViaWiFi);
    EXPECT_EQ(wifi->networkStatusForFlags(Reachable | IsWWAN), NotReachable);
    EXPECT_EQ(wifi->networkStatusForFlags(Reachable), NotReachable);
}

TEST_F(ReachabilityTest, TargetsAreNamedByTheirKey)
{
    in_addr address {};
    inet_pton(AF_INET, "192.168.1.20", &address);
    EXPECT_EQ(Reachability::makeAddressKey(address), "192.168.1.20");

    sockaddr_in socketAddress {};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr = address;
    EXPECT_EQ(Reachability::reachabilityWithAddress(socketAddress)->key(), "192.168.1.20");
    EXPECT_EQ(Reachability::reachabilityForInternetConnection()->key(), Reachability::InternetConnectionKey);
    EXPECT_EQ(m_host->key(), "tracking.example");
    EXPECT_EQ(Reachability::reachabilityWithHostName(""), nullptr);
    socketAddress.sin_family = AF_INET6;
    EXPECT_EQ(Reachability::reachabilityWithAddress(socketAddress), nullptr);

    EXPECT_TRUE(m_host->isEqual(*Reachability::reachabilityWithHostName("tracking.example")));
    EXPECT_FALSE(m_host->isEqual(*Reachability::reachabilityForInternetConnection()));
}

TEST_F(ReachabilityTest, QueriesReadTheCurrentFlags)
{
    m_injected = Reachable | IsWWAN;
    EXPECT_TRUE(m_host->isReachable());
    EXPECT_TRUE(m_host->isReachableViaWWAN());
    EXPECT_FALSE(m_host->isReachableViaWiFi());

    m_injected = Reachable | ConnectionRequired | ConnectionOnDemand | InterventionRequired;
    EXPECT_TRUE(m_host->isReachableViaWiFi());
    EXPECT_TRUE(m_host->isConnectionRequired());
    EXPECT_TRUE(m_host->connectionRequired());
    EXPECT_TRUE(m_host->isConnectionOnDemand());
    EXPECT_TRUE(m_host->isInterventionRequired());

    m_injected = Reachable | ConnectionOnTraffic | InterventionRequired;
    EXPECT_FALSE(m_host->isConnectionOnDemand()) << "on demand needs the connection-required bit";
    EXPECT_FALSE(m_host->isInterventionRequired());
}

TEST_F(ReachabilityTest, UnreadableFlagsAnswerNoEverywhere)
{
    m_injected = std::nullopt;
    EXPECT_EQ(m_host->currentReachabilityStatus(), NotReachable);
    EXPECT_EQ(m_host->reachabilityFlags(), 0u);
    EXPECT_FALSE(m_host->isReachable());
    EXPECT_FALSE(m_host->isConnectionRequired());
}

TEST_F(ReachabilityTest, NotifierPostsTheChangeWithTheInstance)
{
    auto clock = base::ManualClock::install();
    std::vector<std::shared_ptr<Reachability>> posted;
    auto& center = base::NotificationCenter::defaultCenter();
    auto token = center.addObserver(ReachabilityChangedNotification, nullptr,
        [&](const base::Notification& notification) { posted.push_back(notification.objectAs<Reachability>()); });

    ASSERT_TRUE(m_host->startNotifier());
    clock->advance(net::ReachabilityProbe::CheckInterval);
    EXPECT_TRUE(posted.empty());
    m_injected = Reachable | IsWWAN;
    clock->advance(net::ReachabilityProbe::CheckInterval);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0], m_host);
    EXPECT_EQ(posted[0]->currentReachabilityStatus(), ReachableViaWWAN);

    m_host->stopNotifier();
    m_injected = 0;
    clock->advance(net::ReachabilityProbe::CheckInterval);
    EXPECT_EQ(posted.size(), 1u);

    ASSERT_TRUE(m_host->startNotifier());
    posted.clear();
    m_host.reset();
    m_injected = Reachable;
    clock->advance(net::ReachabilityProbe::CheckInterval);
    EXPECT_TRUE(posted.empty()) << "a released instance stops its notifier";

    center.removeObserver(token);
    base::RunLoop::main().cancelAllPendingWork();
    base::Clock::install(base::Clock::system());
}
