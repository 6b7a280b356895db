// The web-call convention end to end against the local tracking service: the URL, the body, the cookie from
// the setting, the reply text, the accepted-command rule, and every injected fault reaching the failure
// block; the push-token upload and the logout routine on top of it.
#include "LocalService.h"

#include "base/ClockFixture.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "core/helpers/Helper.h"
#include "core/messages/DBManager.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceClient.h"
#include "core/service/SignIn.h"
#include "core/service/WebCall.h"
#include "core/state/Logout.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "net/http/URLRequest.h"

#include <thread>

using core::WebCall;
using tracking_service::Fault;

namespace {

using namespace std::chrono_literals;

class WebCallTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        core::Singleton::shared().setServer(m_local.service().rootUrl());
        core::Helper::saveSettingValue(base::Value(m_local.cookie()), core::SettingsKeys::Cookie);
        m_local.service().requestLog().clear();
        // Only a transfer something lost times out: a slow machine's reply is still a reply.
        net::URLRequest::setDefaultTimeoutInterval(60s);
    }
    void TearDown() override
    {
        // A reply still on its way must not reach the next test.
        EXPECT_TRUE(base::RunLoop::main().runUntil(
            [] { return core::ServiceClient::sharedClient()->callsInFlight() == 0; }, 10s));
        for (const char* key : { "RootUrl", "kCookie", "kAutoLogin", "kLastSerialNumber", "kLoginName2" })
            base::UserDefaults::standard().removeObjectForKey(key);
        net::URLRequest::setDefaultTimeoutInterval(60s);
        ManualClockTest::TearDown();
    }

    struct Outcome {
        std::optional<std::string> reply;
        std::optional<base::Error> error;
    };

    Outcome call(std::string_view method, const base::DictionaryRef& parameters = nullptr)
    {
        Outcome outcome;
        int calls = 0;
        WebCall::post(
            method, parameters,
            [&](const std::string& reply) {
                outcome.reply = reply;
                ++calls;
            },
            [&](const base::Error& error) {
                outcome.error = error;
                ++calls;
            });
        EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return calls > 0; }, 10s));
        EXPECT_EQ(calls, 1);
        return outcome;
    }

    tracking_service::ReceivedRequest lastRequestTo(const std::string& endpoint)
    {
        auto requests = m_local.service().requestLog().requestsTo(endpoint);
        EXPECT_FALSE(requests.empty());
        return requests.empty() ? tracking_service::ReceivedRequest {} : requests.back();
    }

    static std::string watch() { return tracking_service::DemoData::WatchSerialNumber; }

    LocalService m_local;
};

TEST_F(WebCallTest, PostsJSONToTheMethodOnTheChosenServerWithTheSavedCookie)
{
    auto outcome = call("GetDeviceDetial", base::Dictionary::make({ { "SerialNumber", watch() } }));
    ASSERT_TRUE(outcome.reply);
    auto device = core::Tool::readDeviceDetailFromJson(*outcome.reply);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->serialNumber, watch());

    auto request = lastRequestTo("GetDeviceDetial");
    EXPECT_EQ(request.httpMethod, "POST");
    EXPECT_EQ(request.path, "/Server/Mobileservice.asmx/GetDeviceDetial");
    EXPECT_EQ(request.header("Cookie"), m_local.cookie());
    EXPECT_EQ(request.header("Accept"), "application/json");
    EXPECT_TRUE(request.header("Content-Type").starts_with("application/json"));
    EXPECT_EQ(request.body, R"({"SerialNumber":")" + watch() + "\"}");
}

TEST_F(WebCallTest, NullParametersAreWrittenAsNullAndNoParametersAsNoBody)
{
    auto purchase = call("Apple_Device_Pay",
        base::Dictionary::make({ { "SerialNumber", watch() }, { "Money", 60 }, { "OrdId", base::Value::null() },
            { "IsDebug", false }, { "Data", "" } }));
    EXPECT_TRUE(purchase.reply) << "the service takes the request it was sent";
    EXPECT_EQ(lastRequestTo("Apple_Device_Pay").body,
        R"({"SerialNumber":")" + watch() + R"(","Money":60,"OrdId":null,"IsDebug":false,"Data":""})");

    auto messages = call("PopManyQueryMessage");
    ASSERT_TRUE(messages.reply);
    EXPECT_EQ(lastRequestTo("PopManyQueryMessage").body, "");
    EXPECT_TRUE(lastRequestTo("PopManyQueryMessage").header("Content-Type").starts_with("application/json"))
        << "declared even without a body";
    EXPECT_EQ(core::Tool::readUserMessageQueryFromJson(*messages.reply).size(), 5u);
}

TEST_F(WebCallTest, TheCookieIsTakenFromTheSettingAtEachCall)
{
    core::Helper::saveSettingValue(base::Value("LumetSession=stale"), core::SettingsKeys::Cookie);
    auto refused = call("LumetGetStepCount", base::Dictionary::make({ { "Serialnumber", watch() } }));
    EXPECT_TRUE(refused.error);
    EXPECT_EQ(lastRequestTo("LumetGetStepCount").header("Cookie"), "LumetSession=stale");

    core::Helper::saveSettingValue(std::nullopt, core::SettingsKeys::Cookie);
    call("GetServerList");
    EXPECT_FALSE(lastRequestTo("GetServerList").hasHeader("Cookie"));

    core::Helper::saveSettingValue(base::Value(m_local.cookie()), core::SettingsKeys::Cookie);
    auto steps = call("LumetGetStepCount", base::Dictionary::make({ { "Serialnumber", watch() } }));
    ASSERT_TRUE(steps.reply);
    EXPECT_EQ(core::Tool::readLumetPedometerCurFromJson(*steps.reply), base::Value(4321));
    call("GetServerList");
    EXPECT_EQ(lastRequestTo("GetServerList").header("Cookie"), m_local.cookie());
}

// The client is shared: an encoding another user left on it does not reach a web call.
TEST_F(WebCallTest, AnotherEncodingLeftOnTheSharedClientIsPutBackToJSON)
{
    call("GetServerList");
    core::ServiceClient::sharedClient()->setParameterEncoding(networking::HTTPClient::FormURLParameterEncoding);
    call("GetDeviceDetial", base::Dictionary::make({ { "SerialNumber", watch() } }));
    auto request = lastRequestTo("GetDeviceDetial");
    EXPECT_TRUE(request.header("Content-Type").starts_with("application/json")) << request.header("Content-Type");
    EXPECT_EQ(request.body, R"({"SerialNumber":")" + watch() + "\"}");
}

TEST_F(WebCallTest, ACommandIsAcceptedOnlyOnTheExactText)
{
    auto token = base::Dictionary::make({ { "Token", " " } });
    auto accepted = call("SaveAppleToken", token);
    ASSERT_TRUE(accepted.reply);
    EXPECT_TRUE(WebCall::isCommandAccepted(*accepted.reply));

    const Fault notAccepted[] = { Fault::refusal(), Fault::refusal("命令提交成功 "), Fault::nullPayload(),
        Fault::noPayload(), Fault::nonJsonBody() };
    for (const Fault& fault : notAccepted) {
        m_local.service().faults().set("SaveAppleToken", fault);
        auto outcome = call("SaveAppleToken", token);
        ASSERT_TRUE(outcome.reply) << static_cast<int>(fault.kind);
        EXPECT_FALSE(WebCall::isCommandAccepted(*outcome.reply)) << *outcome.reply;
    }
}

TEST_F(WebCallTest, TransportFaultsReachTheFailureBlock)
{
    net::URLRequest::setDefaultTimeoutInterval(300ms);
    const Fault failures[] = { Fault::status(500), Fault::status(404), Fault::dropConnection(), Fault::held() };
    for (const Fault& fault : failures) {
        m_local.service().faults().set(tracking_service::FaultPlan::AllEndpoints, fault);
        auto outcome = call("GetDeviceList", base::Dictionary::make({ { "LoginName", "lumet_demo" } }));
        EXPECT_FALSE(outcome.reply) << static_cast<int>(fault.kind);
        EXPECT_TRUE(outcome.error) << static_cast<int>(fault.kind);
    }
    m_local.service().faults().clear();
    net::URLRequest::setDefaultTimeoutInterval(60s);
    EXPECT_TRUE(call("GetDeviceList", base::Dictionary::make({ { "LoginName", "lumet_demo" } })).reply);
}

TEST_F(WebCallTest, PushTokenIsSentWithTheApplicationsSuffixOrAsOneBlank)
{
    // The reply to a token save is a detail message of the "net" category.
    base::Log::ScopedCategories net("net");
    base::Log::ScopedCapture log;
    core::Helper::uploadDeviceToken("a1b2");
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return log.contains("SaveAppleToken: "); }, 10s));
    EXPECT_EQ(m_local.service().store().pushToken(tracking_service::DemoData::AccountName),
        "a1b2_Lumet_zentar_" + core::Helper::appVersion() + "_PRO");

    core::Helper::uploadDeviceToken(std::nullopt);
    ASSERT_TRUE(base::RunLoop::main().runUntil(
        [&] { return m_local.service().requestLog().requestsTo("SaveAppleToken").size() == 2; }, 10s));
    EXPECT_EQ(lastRequestTo("SaveAppleToken").body, R"({"Token":" "})");
}

// A loopback server of the test's own, serving on a thread until it goes.
class ServerOnThread {
public:
    ServerOnThread()
        : m_port(m_server.bind_to_any_port("127.0.0.1"))
        , m_thread([this] { m_server.listen_after_bind(); })
    {
        // stop() only ends a server that runs.
        while (!m_server.is_running())
            std::this_thread::yield();
    }
    ~ServerOnThread()
    {
        m_server.stop();
        m_thread.join();
    }
    httplib::Server& server() { return m_server; }
    std::string root() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    httplib::Server m_server;
    int m_port;
    std::thread m_thread;
};

// A sign-in is answered by the service asked or fails: a redirect of any kind to another server ends it as the
// service's fault, and the other server's "1" and cookie count for nothing.
TEST_F(WebCallTest, ASignInRedirectedToAnotherServerFails)
{
    ServerOnThread other;
    // Each reply closes its connection, so that stopping a server does not wait out a kept-alive one.
    auto acceptAnything = [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Connection", "close");
        response.set_header("Set-Cookie", "LumetSession=other; path=/");
        response.set_content(R"({"d":1})", "application/json; charset=utf-8");
    };
    other.server().Get(".*", acceptAnything);
    other.server().Post(".*", acceptAnything);
    for (int status : { 301, 302, 303, 307, 308 }) {
        ServerOnThread front;
        front.server().Post(".*", [&](const httplib::Request& request, httplib::Response& response) {
            response.status = status;
            response.set_header("Connection", "close");
            response.set_header("Location", other.root() + request.path);
        });
        core::Singleton::shared().setServer(front.root());
        std::optional<core::SignIn::Outcome> outcome;
        core::SignIn::post("lumet_demo", "demo1234", [&](core::SignIn::Outcome got) { outcome = got; });
        ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return outcome.has_value(); }, 10s)) << status;
        EXPECT_EQ(*outcome, core::SignIn::Outcome::ServiceFault) << status;
        EXPECT_EQ(core::Helper::readSettingsByKey(core::SettingsKeys::Cookie), base::Value(m_local.cookie())) << status;
    }
}

class LogoutTest : public WebCallTest {
protected:
    void SetUp() override
    {
        WebCallTest::SetUp();
        core::Helper::saveSettingValue(base::Value("1"), core::SettingsKeys::AutoLogin);
        core::Singleton::shared().setLastSerialnumber(watch());
        core::Helper::saveSettingValue(base::Value("bob"), core::SettingsKeys::LoginName2);
        ASSERT_TRUE(core::DBManager::saveOrUpdataMobileDeviceDB({ "SN-B", "Bob's", 2, std::nullopt }));
        core::Helper::saveSettingValue(base::Value("lumet_demo"), core::SettingsKeys::LoginName2);
        ASSERT_TRUE(core::DBManager::saveOrUpdataMobileDeviceDB({ watch(), "Watch", 36, std::nullopt }));
        core::Singleton::shared().setDeviceTypeID(36);
        core::Singleton::shared().setDeviceDetail(std::make_shared<core::Device>());
        core::SignInSession::begin("lumet_demo");
        m_signIn = core::SignInSession::current();
        m_token = base::NotificationCenter::defaultCenter().addObserver(
            core::NotificationNames::DidLogOut, nullptr, [this](const base::Notification&) { ++m_loggedOut; });
    }
    void TearDown() override
    {
        base::NotificationCenter::defaultCenter().removeObserver(m_token);
        WebCallTest::TearDown();
    }

    void expectSignedOut()
    {
        EXPECT_EQ(core::Helper::readSettingsByKey("kCookie"), base::Value(""));
        EXPECT_EQ(core::Helper::readSettingsByKey("kAutoLogin"), base::Value("0"));
        EXPECT_EQ(core::ServiceClient::sharedClient()->defaultValueForHeader("Cookie"), "");
        EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), "");
        EXPECT_FALSE(core::Singleton::shared().deviceTypeID());
        EXPECT_FALSE(core::Singleton::shared().deviceDetail());
        EXPECT_FALSE(m_signIn.isCurrent()) << "the sign-in's work ends with it";
        EXPECT_FALSE(core::SignInSession::current().isOpen());
        EXPECT_FALSE(core::DBManager::readSingleMobileDevice());
        core::Helper::saveSettingValue(base::Value("bob"), core::SettingsKeys::LoginName2);
        EXPECT_TRUE(core::DBManager::readSingleMobileDevice());
        EXPECT_EQ(m_loggedOut, 1);
    }

    base::NotificationCenter::ObserverToken m_token {};
    int m_loggedOut { 0 };
    core::SignInSession m_signIn;
};

TEST_F(LogoutTest, SendsTheBlankTokenWithTheOldSessionThenClearsIt)
{
    core::Logout::logOut();
    expectSignedOut();
    ASSERT_TRUE(m_local.waitForRequestTo("SaveAppleToken"));
    auto request = lastRequestTo("SaveAppleToken");
    EXPECT_EQ(request.body, R"({"Token":" "})");
    EXPECT_EQ(request.header("Cookie"), m_local.cookie());
}

TEST_F(LogoutTest, TheAboutScreensVariantSendsNothing)
{
    core::Logout::logOutKeepingPushToken();
    EXPECT_EQ(core::ServiceClient::sharedClient()->callsInFlight(), 0u);
    expectSignedOut();
}

} // namespace
