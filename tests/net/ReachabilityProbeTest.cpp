#include "net/reachability/ReachabilityProbe.h"

#include "base/loop/RunLoop.h"
#include "base/time/ManualClock.h"

#include <gtest/gtest.h>
#include <latch>
#include <netinet/in.h>

using namespace net;
using namespace net::reachability;
using namespace std::chrono_literals;

namespace {

sockaddr_in ipv4(uint32_t hostOrder)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(hostOrder);
    return address;
}

class ReachabilityProbeNotifier : public testing::Test {
protected:
    void SetUp() override { m_clock = base::ManualClock::install(); }
    void TearDown() override
    {
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    std::shared_ptr<base::ManualClock> m_clock;
    ReachabilityFlags m_injected { Reachable };
    ReachabilityProbe::ScopedFlagsOverride m_override { [this](const ReachabilityProbe&) { return m_injected; } };
    std::vector<ReachabilityFlags> m_reported;
};

} // namespace

TEST(ReachabilityProbe, RefusesTargetsItCannotProbe)
{
    EXPECT_EQ(ReachabilityProbe::forHostName(""), nullptr);
    EXPECT_EQ(ReachabilityProbe::forHostName(std::string("a\0b", 3)), nullptr);
    sockaddr_in wrongFamily = ipv4(0);
    wrongFamily.sin_family = AF_INET6;
    EXPECT_EQ(ReachabilityProbe::forAddress(wrongFamily), nullptr);

    auto probe = ReachabilityProbe::forAddress(ipv4(0xC0A80114));
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->address(), IPAddress::v4({ 192, 168, 1, 20 }));
}

TEST(ReachabilityProbe, InjectedFlagsReplaceTheMachinesUntilTheOverrideEnds)
{
    auto probe = ReachabilityProbe::forHostName("tracking.example");
    {
        ReachabilityProbe::ScopedFlagsOverride cellular([](const ReachabilityProbe& target) {
            return target.hostName() == "tracking.example" ? std::optional(Reachable | IsWWAN) : std::nullopt;
        });
        EXPECT_EQ(probe->flags(), Reachable | IsWWAN);
        {
            ReachabilityProbe::ScopedFlagsOverride unreadable([](const ReachabilityProbe&) { return std::nullopt; });
            EXPECT_EQ(probe->flags(), std::nullopt);
        }
        EXPECT_EQ(probe->flags(), Reachable | IsWWAN) << "the inner override restores the outer one";
    }
    auto loopback = ReachabilityProbe::forAddress(ipv4(0x7F000001));
    EXPECT_EQ(loopback->flags(), Reachable | IsLocalAddress | IsDirect) << "back to the machine's own answer";
}

TEST(ReachabilityProbe, HostNameThatDoesNotResolveInTimeIsNotReachable)
{
    auto release = std::make_shared<std::latch>(1);
    HostLookup hanging(
        [release](const std::string&) {
            release->wait();
            return std::vector { IPAddress::v4({ 127, 0, 0, 1 }) };
        },
        0ms);
    auto probe = ReachabilityProbe::forHostName("hangs.example", hanging);

    EXPECT_EQ(probe->flags(), 0u);
    release->count_down();
}

TEST(ReachabilityProbe, HostNameIsReachableThroughTheAddressesItResolvesTo)
{
    auto resolvingTo = [](std::vector<IPAddress> addresses) {
        return HostLookup([addresses](const std::string&) { return addresses; }, HostLookup::DefaultLimit);
    };
    auto local = ReachabilityProbe::forHostName("local.example", resolvingTo({ IPAddress::v4({ 127, 0, 0, 1 }) }));
    auto unknown = ReachabilityProbe::forHostName("unknown.example", resolvingTo({}));

    EXPECT_EQ(local->flags(), Reachable | IsLocalAddress | IsDirect);
    EXPECT_EQ(unknown->flags(), 0u);
}

TEST_F(ReachabilityProbeNotifier, ReportsOnlyChangesAtEachCheck)
{
    auto probe = ReachabilityProbe::forHostName("tracking.example");
    ASSERT_TRUE(probe->startNotifier([this](ReachabilityFlags flags) { m_reported.push_back(flags); }));
    EXPECT_FALSE(probe->startNotifier([](ReachabilityFlags) {})) << "already running";

    m_clock->advance(ReachabilityProbe::CheckInterval * 3);
    EXPECT_TRUE(m_reported.empty());

    m_injected = Reachable | IsWWAN;
    m_clock->advance(ReachabilityProbe::CheckInterval / 2);
    EXPECT_TRUE(m_reported.empty()) << "noticed at the next check, not before";
    m_clock->advance(ReachabilityProbe::CheckInterval / 2);
    EXPECT_EQ(m_reported, std::vector<ReachabilityFlags> { Reachable | IsWWAN });

    m_injected = 0;
    m_clock->advance(ReachabilityProbe::CheckInterval);
    EXPECT_EQ(m_reported, (std::vector<ReachabilityFlags> { Reachable | IsWWAN, 0 }));
}

TEST_F(ReachabilityProbeNotifier, StoppedOrDestroyedProbeReportsNothing)
{
    auto stopped = ReachabilityProbe::forHostName("a.example");
    auto destroyed = ReachabilityProbe::forHostName("b.example");
    ASSERT_TRUE(stopped->startNotifier([this](ReachabilityFlags flags) { m_reported.push_back(flags); }));
    ASSERT_TRUE(destroyed->startNotifier([this](ReachabilityFlags flags) { m_reported.push_back(flags); }));

    stopped->stopNotifier();
    destroyed.reset();
    m_injected = 0;
    m_clock->advance(ReachabilityProbe::CheckInterval * 2);

    EXPECT_TRUE(m_reported.empty());
    EXPECT_TRUE(stopped->startNotifier([this](ReachabilityFlags flags) { m_reported.push_back(flags); }))
        << "a stopped notifier can start again";
}
