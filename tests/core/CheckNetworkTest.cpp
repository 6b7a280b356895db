#include "core/service/CheckNetwork.h"

#include "base/system/UserDefaults.h"
#include "base/text/Localization.h"
#include "core/service/RootUrl.h"
#include "core/state/Singleton.h"
#include "net/reachability/ReachabilityProbe.h"
#include "reachability/Reachability.h"
#include "support/ShownAlert.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"

#include <gtest/gtest.h>

using core::CheckNetwork;
using core::Singleton;
using namespace net::reachability;

namespace {

using test::shownAlert;

class CheckNetworkTest : public testing::Test {
protected:
    void SetUp() override { Singleton::shared().setCurrentNetworkContional(-1); }
    void TearDown() override { base::UserDefaults::standard().removeObjectForKey(core::RootUrlKey); }

    std::optional<net::ReachabilityFlags> m_injected;
    std::vector<std::string> m_probedHosts;
    net::ReachabilityProbe::ScopedFlagsOverride m_override { [this](const net::ReachabilityProbe& probe) {
        m_probedHosts.push_back(probe.hostName());
        return m_injected;
    } };
};

} // namespace

TEST_F(CheckNetworkTest, WiFiIsStateTwo)
{
    m_injected = Reachable;
    EXPECT_TRUE(CheckNetwork::isExistenceNetwork());
    EXPECT_EQ(Singleton::shared().currentNetworkContional(), 2);
    EXPECT_TRUE(CheckNetwork::isWIFI());
}

TEST_F(CheckNetworkTest, CellularOnlyIsStateOne)
{
    m_injected = Reachable | IsWWAN | TransientConnection;
    EXPECT_TRUE(CheckNetwork::isExistenceNetwork());
    EXPECT_EQ(Singleton::shared().currentNetworkContional(), 1);
    EXPECT_FALSE(CheckNetwork::isWIFI());
}

TEST_F(CheckNetworkTest, NoNetworkOrUnreadableFlagsIsStateZero)
{
    m_injected = 0;
    EXPECT_FALSE(CheckNetwork::isExistenceNetwork());
    EXPECT_EQ(Singleton::shared().currentNetworkContional(), 0);

    Singleton::shared().setCurrentNetworkContional(2);
    m_injected = std::nullopt;
    EXPECT_FALSE(CheckNetwork::isExistenceNetwork());
    EXPECT_EQ(Singleton::shared().currentNetworkContional(), 0);
}

TEST_F(CheckNetworkTest, ProbesTheConfiguredServersHost)
{
    m_injected = Reachable;
    CheckNetwork::isExistenceNetwork();
    base::UserDefaults::standard().setObject(base::Value("https://track.example.com:8443/api/"), core::RootUrlKey);
    CheckNetwork::isExistenceNetwork();

    EXPECT_EQ(m_probedHosts, (std::vector<std::string> { "127.0.0.1", "track.example.com" }));
}

TEST_F(CheckNetworkTest, UnreadableServerAddressMeansNoNetwork)
{
    m_injected = Reachable;
    base::UserDefaults::standard().setObject(base::Value("not a url"), core::RootUrlKey);

    EXPECT_FALSE(CheckNetwork::isExistenceNetwork());
    EXPECT_EQ(Singleton::shared().currentNetworkContional(), 0);
    EXPECT_TRUE(m_probedHosts.empty()) << "no target can be made for it";
}

TEST_F(CheckNetworkTest, ReachableChangeChecksAgainAndUnreachableOneAlertsAndLeavesTheState)
{
    auto target = reachability::Reachability::reachabilityWithHostName("127.0.0.1");
    base::Notification changed { reachability::ReachabilityChangedNotification, target, nullptr };

    m_injected = Reachable | IsWWAN;
    CheckNetwork::reachabilityChanged(changed);
    EXPECT_EQ(Singleton::shared().currentNetworkContional(), 1);

    EXPECT_EQ(shownAlert(), nullptr);

    m_injected = 0;
    CheckNetwork::reachabilityChanged(changed);
    EXPECT_EQ(Singleton::shared().currentNetworkContional(), 1);
    auto alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), base::localized("error_tip"));
    EXPECT_EQ(alert->message(), base::localized("bad_netword"));
    EXPECT_EQ(alert->buttonTitleAtIndex(alert->cancelButtonIndex()), base::localized("ok"));
    alert->dismissWithClickedButtonIndex(0, false);
}
