// A session the service has dropped (its sessions lost, as a restart with fresh data loses them) is renewed
// once with the remembered account, for every call refused meanwhile, and each call goes again once; without
// a remembered account, or when the service refuses it, the calls fail and the login screen is asked for
// once; a call is never sent a third time, and a sign-in lost on the network ends nothing. All of it happens
// within the sign-in the call went under: a sign-out ends it, and nothing is renewed or sent again in another
// account's session.
#include "LocalService.h"

#include "base/ClockFixture.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/UserDefaults.h"
#include "core/helpers/Helper.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceClient.h"
#include "core/service/WebCall.h"
#include "core/state/Logout.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "net/http/URLRequest.h"

using core::SettingsKeys;
using tracking_service::Fault;

namespace {

using namespace std::chrono_literals;

class SessionRenewalTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        core::Singleton::shared().setServer(m_local.service().rootUrl());
        core::Helper::saveSettingValue(base::Value(m_local.cookie()), SettingsKeys::Cookie);
        core::SignInSession::begin(tracking_service::DemoData::AccountName); // whose session the cookie is
        base::NotificationCenter::defaultCenter().addObserver(
            core::NotificationNames::SessionExpired, nullptr, [this](const base::Notification&) { ++m_expired; }, this);
        // Only a transfer something lost times out: a slow machine's reply is still a reply.
        net::URLRequest::setDefaultTimeoutInterval(60s);
        ASSERT_TRUE(m_local.service().store().closeAllSessions());
        m_local.service().requestLog().clear();
    }
    void TearDown() override
    {
        EXPECT_TRUE(base::RunLoop::main().runUntil(
            [] { return core::ServiceClient::sharedClient()->callsInFlight() == 0; }, 10s));
        base::NotificationCenter::defaultCenter().removeObservers(this);
        for (const char* key :
            { SettingsKeys::RootUrl, SettingsKeys::Cookie, SettingsKeys::ReLoginName, SettingsKeys::RePassword })
            base::UserDefaults::standard().removeObjectForKey(key);
        net::URLRequest::setDefaultTimeoutInterval(60s);
        ManualClockTest::TearDown();
    }

    static void rememberAccount(const std::string& password = tracking_service::DemoData::Password)
    {
        core::Helper::saveSettingValue(base::Value(tracking_service::DemoData::AccountName), SettingsKeys::ReLoginName);
        core::Helper::saveSettingValue(base::Value(password), SettingsKeys::RePassword);
    }

    struct Outcome {
        std::optional<std::string> reply;
        std::optional<base::Error> error;
        int blocksRun = 0;
    };

    // Sends a device-list call whose outcome lands in `outcome`.
    static void callDeviceList(Outcome& outcome)
    {
        core::WebCall::post(
            "GetDeviceList", base::Dictionary::make({ { "LoginName", tracking_service::DemoData::AccountName } }),
            [&outcome](const std::string& reply) {
                outcome.reply = reply;
                ++outcome.blocksRun;
            },
            [&outcome](const base::Error& error) {
                outcome.error = error;
                ++outcome.blocksRun;
            });
    }

    // Sends `count` device-list calls at once and waits until each has ended.
    std::vector<Outcome> callDeviceList(int count)
    {
        std::vector<Outcome> outcomes(count);
        for (Outcome& outcome : outcomes)
            callDeviceList(outcome);
        EXPECT_TRUE(base::RunLoop::main().runUntil(
            [] { return core::ServiceClient::sharedClient()->callsInFlight() == 0; }, 10s));
        for (const Outcome& outcome : outcomes)
            EXPECT_EQ(outcome.blocksRun, 1);
        return outcomes;
    }

    size_t requestsTo(const std::string& endpoint)
    {
        return m_local.service().requestLog().requestsTo(endpoint).size();
    }
    static std::string cookie()
    {
        return base::UserDefaults::standard().stringForKey(SettingsKeys::Cookie).value_or("");
    }
    // The account whose session the cookie setting holds, as the service knows it.
    std::string sessionAccount()
    {
        return m_local.service().store().sessionAccount(cookie().substr(cookie().find('=') + 1)).value_or("");
    }
    bool callsEnded()
    {
        return base::RunLoop::main().runUntil(
            [] { return core::ServiceClient::sharedClient()->callsInFlight() == 0; }, 30s);
    }

    LocalService m_local;
    int m_expired = 0;
};

TEST_F(SessionRenewalTest, OneSignInWithTheRememberedAccountRenewsItAndEveryRefusedCallGoesAgain)
{
    rememberAccount();
    for (const Outcome& outcome : callDeviceList(2)) {
        ASSERT_TRUE(outcome.reply);
        EXPECT_FALSE(core::Tool::readDeviceListFromJson(*outcome.reply).empty());
    }
    EXPECT_EQ(requestsTo("Login"), 1u);
    EXPECT_EQ(requestsTo("GetDeviceList"), 4u);
    auto resent = m_local.service().requestLog().requestsTo("GetDeviceList").back();
    EXPECT_NE(resent.header("Cookie"), m_local.cookie());
    EXPECT_EQ(resent.header("Cookie"), cookie()) << "the new session's cookie, kept in the setting";
    EXPECT_EQ(m_expired, 0);
}

TEST_F(SessionRenewalTest, ACallSentBeforeARenewalGoesAgainWithTheNewCookieWithoutSigningIn)
{
    rememberAccount();
    Outcome outcome;
    core::WebCall::post("GetDeviceList",
        base::Dictionary::make({ { "LoginName", tracking_service::DemoData::AccountName } }),
        [&outcome](const std::string& reply) { outcome.reply = reply; }, {});
    // Renewed elsewhere while the call was out.
    std::string renewed
        = "LumetSession=" + m_local.service().store().openSession(tracking_service::DemoData::AccountName);
    core::Helper::saveSettingValue(base::Value(renewed), SettingsKeys::Cookie);
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return outcome.reply.has_value(); }, 10s));
    EXPECT_EQ(requestsTo("Login"), 0u);
    EXPECT_EQ(m_local.service().requestLog().requestsTo("GetDeviceList").back().header("Cookie"), renewed);
}

TEST_F(SessionRenewalTest, WithoutARememberedAccountTheCallsFailAndTheLoginScreenIsAskedForOnce)
{
    for (const Outcome& outcome : callDeviceList(2)) {
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code(), -1011) << "the service's refusal reaches the failure block";
    }
    EXPECT_EQ(requestsTo("Login"), 0u);
    EXPECT_EQ(m_expired, 1);
    EXPECT_EQ(cookie(), "") << "the dropped session is forgotten";

    // Later calls carry no session and ask for nothing more.
    EXPECT_TRUE(callDeviceList(1)[0].error);
    EXPECT_EQ(m_expired, 1);
    EXPECT_EQ(requestsTo("Login"), 0u);
}

TEST_F(SessionRenewalTest, ARefusedSignInEndsTheSessionAndANetworkFailureDoesNot)
{
    rememberAccount("changed elsewhere");
    EXPECT_TRUE(callDeviceList(2)[0].error);
    EXPECT_EQ(requestsTo("Login"), 1u);
    EXPECT_EQ(m_expired, 1);
    EXPECT_EQ(cookie(), "");
    EXPECT_FALSE(core::SignInSession::current().isOpen()) << "the refusal ends the sign-in";

    // The user signs in again.
    core::SignInSession::begin(tracking_service::DemoData::AccountName);
    core::Helper::saveSettingValue(base::Value(m_local.cookie()), SettingsKeys::Cookie);
    rememberAccount();
    for (Fault fault : { Fault::dropConnection(), Fault::status(500), Fault::nullPayload() }) {
        m_local.service().faults().set("Login", fault);
        EXPECT_TRUE(callDeviceList(1)[0].error);
        EXPECT_EQ(m_expired, 1) << "the session may come back: the next call tries again";
        EXPECT_EQ(cookie(), m_local.cookie());
    }
    EXPECT_EQ(requestsTo("Login"), 4u);
}

TEST_F(SessionRenewalTest, ACallRefusedAgainAfterTheRenewalFailsWithoutAThirdSending)
{
    rememberAccount();
    m_local.service().faults().set("GetDeviceList", Fault::status(401));
    auto outcome = callDeviceList(1)[0];
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(requestsTo("Login"), 1u);
    EXPECT_EQ(requestsTo("GetDeviceList"), 2u);
}

TEST_F(SessionRenewalTest, ACallWithoutASessionIsNotRenewed)
{
    rememberAccount();
    core::Helper::saveSettingValue(base::Value(""), SettingsKeys::Cookie);
    EXPECT_TRUE(callDeviceList(1)[0].error);
    EXPECT_EQ(requestsTo("Login"), 0u);
    EXPECT_EQ(m_expired, 0);
}

// The first parent signs out while its session is being renewed, and a second parent signs in before the
// renewal's answer comes: the call waiting for it fails at the sign-out, and the answer leaves the second
// parent's session as it is.
TEST_F(SessionRenewalTest, ASignOutEndsTheRenewalUnderWayAndItsAnswerKeepsNothing)
{
    net::URLRequest::setDefaultTimeoutInterval(60s); // the answer is held as long as the test needs
    rememberAccount();
    m_local.service().faults().set("Login", Fault::held());
    Outcome outcome;
    callDeviceList(outcome);
    ASSERT_TRUE(m_local.waitForRequestTo("Login"));
    core::Logout::logOutKeepingPushToken();
    EXPECT_EQ(outcome.blocksRun, 1);
    EXPECT_TRUE(outcome.error) << "failed as a refused renewal makes it";
    m_local.service().faults().letGo("Login", 1); // the second parent's own sign-in
    ASSERT_TRUE(m_local.signIn(LocalService::otherAccount));
    m_local.service().faults().remove("Login");
    ASSERT_TRUE(callsEnded());

    EXPECT_EQ(sessionAccount(), LocalService::otherAccount);
    EXPECT_EQ(outcome.blocksRun, 1);
    EXPECT_EQ(requestsTo("GetDeviceList"), 1u) << "not sent again in any session";
    EXPECT_EQ(m_expired, 0);
}

// The first parent's call is refused for want of a session after a second parent has signed in, whose cookie
// differs from the one the call carried: the call fails instead of going again in the second parent's session.
TEST_F(SessionRenewalTest, ACallRefusedAfterAnotherSignInIsNotSentAgainInItsSession)
{
    net::URLRequest::setDefaultTimeoutInterval(60s); // the answer is held as long as the test needs
    rememberAccount();
    m_local.service().faults().set("GetDeviceList", Fault::held());
    Outcome outcome;
    callDeviceList(outcome);
    ASSERT_TRUE(m_local.waitForRequestTo("GetDeviceList"));
    core::Logout::logOutKeepingPushToken();
    ASSERT_TRUE(m_local.signIn(LocalService::otherAccount));
    m_local.service().faults().remove("GetDeviceList"); // its session is gone: refused with 401
    ASSERT_TRUE(callsEnded());

    EXPECT_TRUE(outcome.error);
    EXPECT_EQ(requestsTo("GetDeviceList"), 1u);
    EXPECT_EQ(requestsTo("Login"), 1u) << "the second parent's own";
    EXPECT_EQ(sessionAccount(), LocalService::otherAccount);
}

} // namespace
