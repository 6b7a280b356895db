#include "LoopbackFixture.h"

#include "base/loop/MainThread.h"
#include "base/system/Facts.h"
#include "networking/http/HTTPClient.h"
#include "networking/http/NetworkingErrors.h"
#include "networking/operations/XMLRequestOperation.h"

#include <atomic>

using namespace networking;
using namespace std::chrono_literals;

namespace {

// Counts the outcomes of calls and where they ran.
struct Outcomes {
    int successes { 0 };
    int failures { 0 };
    bool allOnMainThread { true };
    std::optional<base::Error> error;
    std::shared_ptr<HTTPRequestOperation> operation;

    HTTPClient::SuccessBlock success()
    {
        return [this](const std::shared_ptr<HTTPRequestOperation>& op, const ResponseObject&) {
            ++successes;
            allOnMainThread = allOnMainThread && base::isMainThread();
            operation = op;
        };
    }
    HTTPClient::FailureBlock failure()
    {
        return [this](const std::shared_ptr<HTTPRequestOperation>& op, const base::Error& failed) {
            ++failures;
            allOnMainThread = allOnMainThread && base::isMainThread();
            operation = op;
            error = failed;
        };
    }
    int calls() const { return successes + failures; }
};

// The client configured as the application's service client is: JSON accepted and sent, the XML operation
// registered, the session cookie set before each call.
class ServiceClientCalls : public test::LoopbackFixture {
protected:
    void SetUp() override
    {
        LoopbackFixture::SetUp();
        base::Facts::current().setPreferredLanguages({ "en", "fr" });
        base::Facts::current().setModel("Lumet Phone");
        base::Facts::current().setSystemName("Linux");
        base::Facts::current().setSystemVersion("6.1");
        base::Facts::current().setScreenScale(2.0);
        m_client = HTTPClient::clientWithBaseURL(*base::URL::parse("https://service.example.com/"));
        EXPECT_TRUE(m_client->registerHTTPOperationClass(XMLRequestOperation::operationClass()));
        m_client->setDefaultHeader("Accept", "application/json");
        m_client->setDefaultHeader("Cookie", "ASP.NET_SessionId=abc");
        m_client->setParameterEncoding(HTTPClient::JSONParameterEncoding);
    }
    void TearDown() override
    {
        LoopbackFixture::TearDown();
        base::Facts::current().reset();
    }

    std::string method(std::string_view name) const
    {
        return m_server.url("/Server/Mobileservice.asmx/" + std::string(name));
    }

    std::shared_ptr<HTTPClient> m_client;
    Outcomes m_outcomes;
};

base::DictionaryRef loginParameters()
{
    return base::Dictionary::make({ { "loginName", "ann" }, { "password", "pw" } });
}

} // namespace

TEST_F(ServiceClientCalls, APostCarriesTheConventionsHeadersAndCompactJSONBody)
{
    m_server.server().Post(
        "/Server/Mobileservice.asmx/Login", [](const httplib::Request&, httplib::Response& response) {
            response.set_header("Set-Cookie", "ASP.NET_SessionId=new; path=/");
            response.set_header("Set-Cookie", "lang=en");
            response.set_content(R"({"d":"ok"})", "application/json; charset=utf-8");
        });
    m_server.start();

    m_client->postPath(method("Login"), loginParameters(), m_outcomes.success(), m_outcomes.failure());
    ASSERT_TRUE(waitFor([&] { return m_outcomes.calls() > 0; }));

    EXPECT_EQ(m_outcomes.successes, 1);
    EXPECT_TRUE(m_outcomes.allOnMainThread);
    EXPECT_EQ(m_outcomes.operation->responseString(), R"({"d":"ok"})");
    EXPECT_EQ(*m_outcomes.operation->response()->valueForHTTPHeaderField("Set-Cookie"),
        "ASP.NET_SessionId=new; path=/, lang=en");
    auto received = m_server.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].method, "POST");
    EXPECT_EQ(received[0].path, "/Server/Mobileservice.asmx/Login");
    EXPECT_EQ(received[0].body, R"({"loginName":"ann","password":"pw"})");
    EXPECT_EQ(received[0].header("Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(received[0].header("Accept"), "application/json");
    EXPECT_EQ(received[0].header("Cookie"), "ASP.NET_SessionId=abc");
    EXPECT_EQ(received[0].header("Accept-Language"), "en;q=1, fr;q=0.9");
    EXPECT_NE(received[0].header("User-Agent").find("(Lumet Phone; Linux 6.1; Scale/2.00)"), std::string::npos);
    EXPECT_FALSE(received[0].hasHeader("Expect"));
}

TEST_F(ServiceClientCalls, APostWithoutParametersHasTheFixedContentTypeAndNoBody)
{
    m_server.server().Post(
        "/Server/Mobileservice.asmx/Logout", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(R"({"d":null})", "application/json");
        });
    m_server.start();
    m_client->postPath(method("Logout"), nullptr, m_outcomes.success(), m_outcomes.failure());
    ASSERT_TRUE(waitFor([&] { return m_outcomes.calls() > 0; }));
    EXPECT_EQ(m_outcomes.successes, 1);
    auto received = m_server.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].header("Content-Type"), "application/json; charset=utf8");
    EXPECT_EQ(received[0].body, "");
}

TEST_F(ServiceClientCalls, StatusCodesOutsideTheAcceptedRangeReachTheFailureBlockWithTheBody)
{
    m_server.server().Post(
        "/Server/Mobileservice.asmx/Broken", [](const httplib::Request&, httplib::Response& response) {
            response.status = 500;
            response.set_content("<html>trouble</html>", "text/html");
        });
    m_server.server().Post("/Server/Mobileservice.asmx/Empty",
        [](const httplib::Request&, httplib::Response& response) { response.status = 204; });
    m_server.start();

    m_client->postPath(method("Broken"), loginParameters(), m_outcomes.success(), m_outcomes.failure());
    ASSERT_TRUE(waitFor([&] { return m_outcomes.calls() > 0; }));
    ASSERT_EQ(m_outcomes.failures, 1);
    EXPECT_EQ(m_outcomes.error->domain(), NetworkingErrors::Domain);
    EXPECT_EQ(m_outcomes.error->code(), NetworkingErrors::BadServerResponse);
    EXPECT_EQ(m_outcomes.error->localizedDescription(), "Expected status code in (200-299), got 500");
    EXPECT_EQ(m_outcomes.error->userInfoValue(base::Error::LocalizedRecoverySuggestionKey)->stringValue(),
        "<html>trouble</html>");

    Outcomes empty;
    m_client->postPath(method("Empty"), nullptr, empty.success(), empty.failure());
    ASSERT_TRUE(waitFor([&] { return empty.calls() > 0; }));
    EXPECT_EQ(empty.successes, 1) << "204 lies inside the accepted range";
}

TEST_F(ServiceClientCalls, APathThatIsNoURLFailsAsynchronouslyWithoutSendingAnything)
{
    m_server.start();
    m_client->postPath("http://bad host/Login", loginParameters(), m_outcomes.success(), m_outcomes.failure());
    EXPECT_EQ(m_outcomes.calls(), 0) << "failures are never reported from inside the call";
    ASSERT_TRUE(waitFor([&] { return m_outcomes.calls() > 0; }));
    EXPECT_EQ(m_outcomes.failures, 1);
    EXPECT_EQ(m_outcomes.error->domain(), base::Error::URLDomain);
    EXPECT_EQ(m_outcomes.error->code(), base::Error::URLBadURL);
    EXPECT_TRUE(m_outcomes.allOnMainThread);
}

TEST_F(ServiceClientCalls, ParametersThatCannotBeWrittenFailTheCallInsteadOfSendingAnEmptyBody)
{
    m_server.server().Post("/Server/Mobileservice.asmx/Save", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(R"({"d":"saved"})", "application/json");
    });
    m_server.start();
    auto parameters = base::Dictionary::make({ { "when", base::Value(base::Date::fromTimeIntervalSince1970(0)) } });
    m_client->postPath(method("Save"), parameters, m_outcomes.success(), m_outcomes.failure());
    ASSERT_TRUE(waitFor([&] { return m_outcomes.calls() > 0; }));
    EXPECT_EQ(m_outcomes.failures, 1);
    EXPECT_EQ(m_outcomes.successes, 0);
    EXPECT_TRUE(m_server.received().empty());
}

TEST_F(ServiceClientCalls, CancellingBeforeTheStartGivesOneFailureWithTheCancellationCode)
{
    m_server.server().Post("/Server/Mobileservice.asmx/Slow", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(R"({"d":1})", "application/json");
    });
    m_server.start();
    auto request = m_client->requestWithMethod("POST", method("Slow"), loginParameters());
    auto operation = m_client->HTTPRequestOperationWithRequest(request, m_outcomes.success(), m_outcomes.failure());
    operation->cancel();
    m_client->enqueueHTTPRequestOperation(operation);
    ASSERT_TRUE(waitFor([&] { return m_outcomes.calls() > 0; }));
    EXPECT_EQ(m_outcomes.failures, 1);
    EXPECT_EQ(m_outcomes.error->code(), base::Error::URLCancelled);
    EXPECT_TRUE(m_server.received().empty());
}

TEST_F(ServiceClientCalls, CancellingDuringTheTransferGivesExactlyOneFailure)
{
    std::atomic<bool> arrived { false };
    m_server.server().Post(
        "/Server/Mobileservice.asmx/Hang", [this, &arrived](const httplib::Request&, httplib::Response&) {
            arrived = true;
            base::RunLoop::main().post([] {});
            m_gate.wait();
        });
    m_server.start();
    m_client->postPath(method("Hang"), loginParameters(), m_outcomes.success(), m_outcomes.failure());
    ASSERT_TRUE(waitFor([&] { return arrived.load(); }));
    m_client->cancelAllHTTPOperationsWithMethod("POST", method("Hang"));
    ASSERT_TRUE(waitFor([&] { return m_outcomes.calls() > 0; }));
    m_gate.open();
    EXPECT_EQ(m_outcomes.failures, 1);
    EXPECT_EQ(m_outcomes.successes, 0);
    EXPECT_EQ(m_outcomes.error->code(), base::Error::URLCancelled);
    ASSERT_TRUE(waitFor([&] { return m_client->operationQueue()->operationCount() == 0; }));
    EXPECT_EQ(m_outcomes.calls(), 1);
}

TEST_F(ServiceClientCalls, ATransferThatStaysIdleTimesOut)
{
    m_server.server().Post(
        "/Server/Mobileservice.asmx/Hang", [this](const httplib::Request&, httplib::Response&) { m_gate.wait(); });
    m_server.start();
    net::URLRequest::setDefaultTimeoutInterval(0.2s);
    m_client->postPath(method("Hang"), loginParameters(), m_outcomes.success(), m_outcomes.failure());
    ASSERT_TRUE(waitFor([&] { return m_outcomes.calls() > 0; }));
    EXPECT_EQ(m_outcomes.failures, 1);
    EXPECT_EQ(m_outcomes.error->code(), base::Error::URLTimedOut);
}

TEST_F(ServiceClientCalls, TwoHundredCallsAllCompleteOnTheMainThread)
{
    m_server.server().Post(
        R"(/Server/Mobileservice.asmx/Item(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content(R"({"d":")" + request.matches[1].str() + R"("})", "application/json");
        });
    m_server.start();
    std::vector<Outcomes> outcomes(200);
    for (size_t i = 0; i < outcomes.size(); ++i)
        m_client->postPath(method("Item" + std::to_string(i)), nullptr, outcomes[i].success(), outcomes[i].failure());
    ASSERT_TRUE(waitFor([&] {
        return std::all_of(outcomes.begin(), outcomes.end(), [](const Outcomes& o) { return o.calls() > 0; });
    }));
    for (size_t i = 0; i < outcomes.size(); ++i) {
        ASSERT_EQ(outcomes[i].successes, 1) << i;
        EXPECT_EQ(outcomes[i].calls(), 1);
        EXPECT_TRUE(outcomes[i].allOnMainThread);
        EXPECT_EQ(outcomes[i].operation->responseString(), R"({"d":")" + std::to_string(i) + R"("})");
    }
}

TEST_F(ServiceClientCalls, BinaryDownloadsArriveWhole)
{
    std::string voice(70000, '\0');
    for (size_t i = 0; i < voice.size(); ++i)
        voice[i] = static_cast<char>(i * 7);
    m_server.server().Post(
        "/Server/Mobileservice.asmx/Voice", [&](const httplib::Request&, httplib::Response& response) {
            response.set_content(voice, "application/octet-stream");
        });
    m_server.start();
    m_client->postPath(method("Voice"), nullptr, m_outcomes.success(), m_outcomes.failure());
    ASSERT_TRUE(waitFor([&] { return m_outcomes.calls() > 0; }));
    ASSERT_EQ(m_outcomes.successes, 1);
    auto data = m_outcomes.operation->responseData();
    ASSERT_TRUE(data);
    EXPECT_EQ(std::string(data->begin(), data->end()), voice);
}

TEST_F(ServiceClientCalls, CancellingByPathMatchesAnyHostAndOnlyTheGivenMethod)
{
    m_server.server().Post("/api/devices", [this](const httplib::Request&, httplib::Response&) { m_gate.wait(); });
    m_server.server().Get("/api/devices", [this](const httplib::Request&, httplib::Response&) { m_gate.wait(); });
    m_server.start();
    Outcomes post;
    Outcomes get;
    m_client->postPath(m_server.url("/api/devices"), nullptr, post.success(), post.failure());
    m_client->getPath(m_server.url("/api/devices"), nullptr, get.success(), get.failure());
    m_client->cancelAllHTTPOperationsWithMethod("POST", "http://elsewhere.example/api/devices");
    ASSERT_TRUE(waitFor([&] { return post.calls() > 0; }));
    ASSERT_EQ(post.failures, 1) << post.successes;
    EXPECT_EQ(post.error->code(), base::Error::URLCancelled);
    EXPECT_EQ(get.calls(), 0);
    m_client->cancelAllHTTPOperationsWithMethod(std::nullopt, "/api/devices");
    ASSERT_TRUE(waitFor([&] { return get.calls() > 0; }));
    EXPECT_EQ(get.error->code(), base::Error::URLCancelled);
}

TEST_F(ServiceClientCalls, ABatchReportsProgressPerOperationAndCompletesOnceOnTheMainThread)
{
    m_server.server().Get(R"(/batch/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.matches[1].str(), "text/plain");
    });
    m_server.start();
    std::vector<net::URLRequest> requests;
    for (int i = 0; i < 3; ++i)
        requests.push_back(m_client->requestWithMethod("GET", m_server.url("/batch/" + std::to_string(i)), nullptr));
    std::vector<std::pair<size_t, size_t>> progress;
    int completions = 0;
    bool completedOnMain = false;
    std::vector<std::shared_ptr<HTTPRequestOperation>> finished;
    m_client->enqueueBatchOfHTTPRequestOperationsWithRequests(
        requests, [&](size_t done, size_t total) { progress.emplace_back(done, total); },
        [&](const std::vector<std::shared_ptr<HTTPRequestOperation>>& operations) {
            ++completions;
            completedOnMain = base::isMainThread();
            finished = operations;
        });
    ASSERT_TRUE(waitFor([&] { return completions > 0; }));
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(completedOnMain);
    ASSERT_EQ(progress.size(), 3u);
    for (auto& [done, total] : progress) {
        EXPECT_EQ(total, 3u);
        EXPECT_GE(done, 1u);
    }
    ASSERT_EQ(finished.size(), 3u);
    EXPECT_EQ(finished[2]->responseString(), "2");
}

TEST_F(ServiceClientCalls, AnEmptyBatchCompletesOnceWithoutProgress)
{
    int progressCalls = 0;
    int completions = 0;
    m_client->enqueueBatchOfHTTPRequestOperations(
        {}, [&](size_t, size_t) { ++progressCalls; },
        [&](const std::vector<std::shared_ptr<HTTPRequestOperation>>& operations) {
            ++completions;
            EXPECT_TRUE(operations.empty());
        });
    ASSERT_TRUE(waitFor([&] { return completions > 0; }));
    EXPECT_EQ(progressCalls, 0);
}
