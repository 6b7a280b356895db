#include "ConnectionRecorder.h"
#include "networking/LoopbackFixture.h"

#include "base/loop/RunLoop.h"
#include "base/time/ManualClock.h"
#include "net/auth/URLCredentialStorage.h"
#include "net/http/URLErrors.h"
#include "net/loading/MainLoopTransfers.h"
#include "net/loading/URLConnection.h"
#include "net/streams/BoundStreamPair.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace std::chrono_literals;

namespace {

std::string gzipped(const std::string& text)
{
    z_stream stream {};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, text.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

class URLConnectionTest : public testing::Test {
protected:
    void SetUp() override { m_clock = base::ManualClock::install(); }
    void TearDown() override
    {
        m_gate.open();
        // Closing the client's kept-alive connections lets the server's workers end at once.
        net::MainLoopTransfers::shared().stop();
        m_server.stop();
        net::URLRequest::setDefaultTimeoutInterval(60s);
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    net::URLRequest request(std::string_view path) const
    {
        return net::URLRequest(base::URL::parse(m_server.url(path)));
    }

    std::shared_ptr<test::ConnectionRecorder> run(
        net::URLRequest request, std::shared_ptr<test::ConnectionRecorder> recorder = nullptr)
    {
        if (!recorder)
            recorder = std::make_shared<test::ConnectionRecorder>();
        net::URLConnection::make(std::move(request), recorder)->start();
        // A bound against a hang only: a chain of redirects or an upload of many writes on a loaded machine, each
        // step woken late, may take tens of seconds.
        EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return recorder->ended(); }, 120s));
        return recorder;
    }

    std::shared_ptr<base::ManualClock> m_clock;
    test::LoopbackServer m_server;
    test::Gate m_gate;
};

} // namespace

TEST_F(URLConnectionTest, SendsMethodHeadersAndBodyExactlyAsGiven)
{
    m_server.server().Put("/devices/7",
        [](const httplib::Request&, httplib::Response& response) { response.set_content("stored", "text/plain"); });
    m_server.start();

    auto put = request("/devices/7?full=1");
    put.setHTTPMethod("PUT");
    put.setValue("application/json; charset=utf8", "Content-Type");
    put.setValue("session=abc", "Cookie");
    put.setHTTPBody(base::Data { '{', '"', 'a', '"', ':', '1', '}' });
    auto recorder = run(put);

    ASSERT_TRUE(recorder->finished());
    EXPECT_EQ(recorder->body(), "stored");
    auto received = m_server.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].method, "PUT");
    EXPECT_EQ(received[0].target, "/devices/7?full=1");
    EXPECT_EQ(received[0].body, "{\"a\":1}");
    EXPECT_EQ(received[0].header("Content-Type"), "application/json; charset=utf8");
    EXPECT_EQ(received[0].header("Content-Length"), "7");
    EXPECT_EQ(received[0].header("Cookie"), "session=abc");
    EXPECT_FALSE(received[0].hasHeader("Expect"));
}

TEST_F(URLConnectionTest, HeaderValuesCannotForgeFurtherFields)
{
    m_server.server().Get(
        "/", [](const httplib::Request&, httplib::Response& response) { response.set_content("", "text/plain"); });
    m_server.start();
    auto get = request("/");
    get.setValue("a=1\r\nX-Injected: yes", "Cookie");
    run(get);
    auto received = m_server.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_FALSE(received[0].hasHeader("X-Injected"));
}

TEST_F(URLConnectionTest, RepeatedReplyFieldsAreJoinedAndLookedUpWithoutRegardToCase)
{
    m_server.server().Post("/login", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "session=abc; Path=/");
        response.set_header("Set-Cookie", "theme=dark");
        response.set_content("{}", "application/json");
    });
    m_server.start();
    auto post = request("/login");
    post.setHTTPMethod("POST");
    auto recorder = run(post);

    auto response = recorder->response();
    ASSERT_TRUE(response);
    EXPECT_EQ(response->statusCode(), 200);
    ASSERT_TRUE(response->valueForHTTPHeaderField("set-cookie"));
    EXPECT_EQ(*response->valueForHTTPHeaderField("set-cookie"), "session=abc; Path=/, theme=dark");
    EXPECT_EQ(response->mimeType(), "application/json");
}

TEST_F(URLConnectionTest, CookiesOfRepliesAreNeverSentBackByTheStack)
{
    m_server.server().Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "session=abc");
        response.set_content("", "text/plain");
    });
    m_server.start();
    run(request("/"));
    run(request("/"));
    auto received = m_server.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_FALSE(received[1].hasHeader("Cookie"));
}

TEST_F(URLConnectionTest, GzipRepliesArriveDecoded)
{
    std::string text(5000, 'x');
    m_server.server().Get("/zipped", [&](const httplib::Request& request, httplib::Response& response) {
        EXPECT_NE(request.get_header_value("Accept-Encoding").find("gzip"), std::string::npos);
        response.set_header("Content-Encoding", "gzip");
        response.set_content(gzipped(text), "text/plain");
    });
    m_server.start();
    auto recorder = run(request("/zipped"));
    ASSERT_TRUE(recorder->finished());
    EXPECT_EQ(recorder->body(), text);
}

TEST_F(URLConnectionTest, RedirectsAreFollowedAndAPostBecomesAGet)
{
    m_server.server().Post(
        "/old", [](const httplib::Request&, httplib::Response& response) { response.set_redirect("/new", 302); });
    m_server.server().Get("/new",
        [](const httplib::Request&, httplib::Response& response) { response.set_content("moved here", "text/plain"); });
    m_server.start();
    auto post = request("/old");
    post.setHTTPMethod("POST");
    post.setHTTPBody(base::Data { 'x' });
    auto recorder = run(post);

    ASSERT_TRUE(recorder->finished());
    EXPECT_EQ(recorder->body(), "moved here");
    EXPECT_EQ(recorder->response()->url().path(), "/new");
    auto received = m_server.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].method, "GET");
    EXPECT_EQ(received[1].body, "");
}

TEST_F(URLConnectionTest, ARefusedRedirectDeliversTheRedirectReplyItself)
{
    m_server.server().Get("/old", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Location", "/new");
        response.set_content("see /new", "text/plain");
        response.status = 301;
    });
    m_server.start();
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    recorder->onRedirect = [](net::URLRequest, const net::HTTPResponse&) { return std::nullopt; };
    run(request("/old"), recorder);

    ASSERT_TRUE(recorder->finished());
    EXPECT_EQ(recorder->response()->statusCode(), 301);
    EXPECT_EQ(recorder->body(), "see /new");
    EXPECT_EQ(m_server.received().size(), 1u);
}

TEST_F(URLConnectionTest, ARedirectToAnotherHostDropsTheCookieAndAuthorization)
{
    m_server.server().Post("/sign-in", [this](const httplib::Request&, httplib::Response& response) {
        response.set_redirect(m_server.url("/elsewhere").replace(7, 9, "localhost"), 307);
    });
    m_server.server().Post("/same-host",
        [](const httplib::Request&, httplib::Response& response) { response.set_redirect("/elsewhere", 307); });
    m_server.server().Post("/elsewhere",
        [](const httplib::Request&, httplib::Response& response) { response.set_content("done", "text/plain"); });
    m_server.start();
    for (const char* path : { "/sign-in", "/same-host" }) {
        auto post = request(path);
        post.setHTTPMethod("POST");
        post.setValue("session=abc", "Cookie");
        post.setValue("Basic YW5uOnNlY3JldA==", "Authorization");
        ASSERT_TRUE(run(post)->finished()) << path;
    }
    auto received = m_server.received();
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[1].header("Host").substr(0, 9), "localhost");
    EXPECT_FALSE(received[1].hasHeader("Cookie")) << "the session cookie stays with its server";
    EXPECT_FALSE(received[1].hasHeader("Authorization"));
    EXPECT_EQ(received[3].header("Cookie"), "session=abc") << "the same server keeps getting it";
    EXPECT_EQ(received[3].header("Authorization"), "Basic YW5uOnNlY3JldA==");
}

TEST_F(URLConnectionTest, ARedirectToAnotherHostThatWouldResendTheBodyFails)
{
    for (int status : { 307, 308 }) {
        m_server.server().Post(
            "/sign-in-" + std::to_string(status), [this, status](const httplib::Request&, httplib::Response& response) {
                response.set_redirect(m_server.url("/elsewhere").replace(7, 9, "localhost"), status);
            });
    }
    m_server.server().Post("/same-host",
        [](const httplib::Request&, httplib::Response& response) { response.set_redirect("/elsewhere", 307); });
    m_server.server().Post("/elsewhere", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content("got " + request.body, "text/plain");
    });
    m_server.start();
    auto post = [this](const char* path) {
        auto request = this->request(path);
        request.setHTTPMethod("POST");
        request.setHTTPBody(base::Data { 'p', 'w' });
        return request;
    };
    for (const char* path : { "/sign-in-307", "/sign-in-308" }) {
        auto recorder = run(post(path));
        ASSERT_TRUE(recorder->error()) << path;
        EXPECT_EQ(recorder->error()->code(), net::URLErrors::RedirectWouldResendBody) << path;
    }
    EXPECT_EQ(m_server.received().size(), 2u) << "nothing reached the other host";

    auto sameHost = run(post("/same-host"));
    ASSERT_TRUE(sameHost->finished());
    EXPECT_EQ(sameHost->body(), "got pw") << "the same server gets the body again";
}

TEST_F(URLConnectionTest, EndlessRedirectsFail)
{
    m_server.server().Get(
        "/loop", [](const httplib::Request&, httplib::Response& response) { response.set_redirect("/loop", 302); });
    m_server.start();
    auto recorder = run(request("/loop"));
    ASSERT_TRUE(recorder->error());
    EXPECT_EQ(recorder->error()->code(), net::URLErrors::HTTPTooManyRedirects);
}

TEST_F(URLConnectionTest, AnIdleTransferTimesOut)
{
    m_server.server().Get("/silent", [this](const httplib::Request&, httplib::Response& response) {
        m_gate.wait();
        response.set_content("late", "text/plain");
    });
    m_server.start();
    auto get = request("/silent");
    get.setTimeoutInterval(0.2s);
    auto recorder = run(get);
    ASSERT_TRUE(recorder->error());
    EXPECT_EQ(recorder->error()->code(), base::Error::URLTimedOut);
    EXPECT_EQ(recorder->error()->domain(), base::Error::URLDomain);
}

TEST_F(URLConnectionTest, TheProcessWideDefaultTimeOutAppliesToRequestsWithoutTheirOwn)
{
    m_server.server().Get("/silent", [this](const httplib::Request&, httplib::Response&) { m_gate.wait(); });
    m_server.start();
    EXPECT_EQ(net::URLRequest().timeoutInterval(), 60s);
    net::URLRequest::setDefaultTimeoutInterval(0.2s);
    auto recorder = run(request("/silent"));
    ASSERT_TRUE(recorder->error());
    EXPECT_EQ(recorder->error()->code(), base::Error::URLTimedOut);
}

TEST_F(URLConnectionTest, AServerDroppingTheConnectionMidReplyIsAFailureNotAShortBody)
{
    m_server.server().Get("/cut", [](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(1000, "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
            if (offset > 0)
                return false;
            sink.write(std::string(100, 'a').data(), 100);
            return true;
        });
    });
    m_server.start();
    auto recorder = run(request("/cut"));
    ASSERT_TRUE(recorder->error());
    EXPECT_EQ(recorder->error()->code(), base::Error::URLNetworkConnectionLost);
    EXPECT_FALSE(recorder->finished());
}

TEST_F(URLConnectionTest, CancellingDuringTheTransferStopsEveryCallback)
{
    m_server.server().Get("/slow", [this](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/plain", [this](size_t offset, httplib::DataSink& sink) {
            if (offset == 0) {
                sink.write("first", 5);
                return true;
            }
            m_gate.wait();
            sink.done();
            return true;
        });
    });
    m_server.start();
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    std::atomic<bool> cancelled { false };
    recorder->onResponse = [&](net::URLConnection& connection) {
        connection.cancel();
        cancelled = true;
        base::RunLoop::main().post([] {});
    };
    net::URLConnection::make(request("/slow"), recorder)->start();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return cancelled.load(); }, 10s));
    m_gate.open();
    // A request that runs after the cancelled one shows the network thread has moved past it.
    auto after = run(request("/slow"));
    EXPECT_TRUE(after->finished());
    EXPECT_EQ(recorder->endings(), 0);
    EXPECT_EQ(recorder->body(), "");
}

TEST_F(URLConnectionTest, RequestsWithoutAUsableURLFail)
{
    auto noURL = run(net::URLRequest());
    ASSERT_TRUE(noURL->error());
    EXPECT_EQ(noURL->error()->code(), base::Error::URLBadURL);

    auto ftp = run(net::URLRequest(base::URL::parse("ftp://127.0.0.1/file")));
    ASSERT_TRUE(ftp->error());
    EXPECT_EQ(ftp->error()->code(), base::Error::URLUnsupportedURL);
}

TEST_F(URLConnectionTest, TwoHundredRequestsInFlightAtOnceAllComplete)
{
    m_server.server().Get(R"(/item/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content("item " + request.matches[1].str(), "text/plain");
    });
    m_server.start();
    std::vector<std::shared_ptr<test::ConnectionRecorder>> recorders;
    for (int i = 0; i < 200; ++i) {
        recorders.push_back(std::make_shared<test::ConnectionRecorder>());
        net::URLConnection::make(request("/item/" + std::to_string(i)), recorders.back())->start();
    }
    auto allEnded = [&] {
        return std::all_of(recorders.begin(), recorders.end(), [](auto& recorder) { return recorder->ended(); });
    };
    ASSERT_TRUE(base::RunLoop::main().runUntil(allEnded, 30s));
    for (int i = 0; i < 200; ++i) {
        EXPECT_TRUE(recorders[i]->finished());
        EXPECT_EQ(recorders[i]->body(), "item " + std::to_string(i));
        EXPECT_EQ(recorders[i]->endings(), 1);
    }
}

TEST_F(URLConnectionTest, UploadProgressIsReported)
{
    m_server.server().Post("/upload", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(std::to_string(request.body.size()), "text/plain");
    });
    m_server.start();
    auto post = request("/upload");
    post.setHTTPMethod("POST");
    post.setValue("application/octet-stream", "Content-Type");
    post.setHTTPBody(base::Data(300000, 'u'));
    auto recorder = run(post);
    ASSERT_FALSE(recorder->error()) << recorder->error()->description();
    ASSERT_TRUE(recorder->response());
    EXPECT_EQ(recorder->response()->statusCode(), 200);
    EXPECT_EQ(recorder->body(), "300000");
    auto totals = recorder->uploadTotals();
    ASSERT_FALSE(totals.empty());
    EXPECT_EQ(totals.back(), 300000);
    EXPECT_TRUE(std::is_sorted(totals.begin(), totals.end()));
}

TEST_F(URLConnectionTest, AStreamedBodyIsSentAsTheWriterProducesIt)
{
    m_server.server().Post("/stream", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.body, "text/plain");
    });
    m_server.start();
    auto pair = net::BoundStreamPair::make(8);
    auto post = request("/stream");
    post.setHTTPMethod("POST");
    post.setValue("10", "Content-Length");
    post.setHTTPBodyStream(pair.input);
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    net::URLConnection::make(post, recorder)->start();

    pair.output->open();
    const std::string text = "0123456789";
    size_t written = 0;
    ASSERT_TRUE(base::RunLoop::main().runUntil(
        [&] {
            if (written < text.size() && pair.output->hasSpaceAvailable())
                written += pair.output->write(
                    reinterpret_cast<const uint8_t*>(text.data()) + written, text.size() - written);
            if (written == text.size())
                pair.output->close();
            base::RunLoop::main().post([] {});
            return recorder->ended();
        },
        10s));
    EXPECT_TRUE(recorder->finished());
    EXPECT_EQ(recorder->body(), text);
}

TEST_F(URLConnectionTest, ABodyWhoseWriterFailsAbortsTheTransferWithTheWritersError)
{
    std::atomic<bool> handled { false };
    m_server.server().Post("/stream", [&](const httplib::Request&, httplib::Response& response) {
        handled = true;
        response.set_content("got it", "text/plain");
    });
    m_server.start();
    auto pair = net::BoundStreamPair::make(64);
    auto post = request("/stream");
    post.setHTTPMethod("POST");
    post.setValue("100", "Content-Length");
    post.setHTTPBodyStream(pair.input);
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    net::URLConnection::make(post, recorder)->start();

    pair.output->open();
    ASSERT_EQ(pair.output->write(reinterpret_cast<const uint8_t*>("partial"), 7), 7);
    pair.output->closeWithError(base::Error("NetworkingErrorDomain", -1000, { { "Part", "photo" } }));
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return recorder->ended(); }, 10s));
    ASSERT_TRUE(recorder->error());
    EXPECT_EQ(recorder->error()->domain(), "NetworkingErrorDomain");
    EXPECT_EQ(recorder->error()->userInfoValue("Part")->stringValue(), "photo");
    EXPECT_FALSE(handled.load()) << "the server never saw a complete request";
}

TEST_F(URLConnectionTest, BasicChallengesAreAnsweredByTheDelegate)
{
    m_server.server().Get("/private", [](const httplib::Request& request, httplib::Response& response) {
        if (request.get_header_value("Authorization") == "Basic YW5uOnNlY3JldA==") {
            response.set_content("welcome", "text/plain");
            return;
        }
        response.status = 401;
        response.set_header("WWW-Authenticate", "Basic realm=\"devices\"");
        response.set_content("who are you", "text/plain");
    });
    m_server.start();

    auto recorder = std::make_shared<test::ConnectionRecorder>();
    std::vector<int> failureCounts;
    recorder->onCanAuthenticate = [](const net::URLProtectionSpace& space) {
        return space.authenticationMethod == net::URLProtectionSpace::HTTPBasic && space.realm == "devices";
    };
    recorder->onChallenge = [&](const std::shared_ptr<net::URLAuthenticationChallenge>& challenge) {
        failureCounts.push_back(challenge->previousFailureCount());
        challenge->useCredential(net::URLCredential::withUser("ann", "secret", net::URLCredential::Persistence::None));
    };
    run(request("/private"), recorder);
    EXPECT_TRUE(recorder->finished());
    EXPECT_EQ(recorder->body(), "welcome");
    EXPECT_EQ(failureCounts, std::vector<int> { 0 });

    auto wrong = std::make_shared<test::ConnectionRecorder>();
    wrong->onCanAuthenticate = recorder->onCanAuthenticate;
    std::vector<int> wrongCounts;
    wrong->onChallenge = [&](const std::shared_ptr<net::URLAuthenticationChallenge>& challenge) {
        wrongCounts.push_back(challenge->previousFailureCount());
        if (challenge->previousFailureCount() == 0)
            challenge->useCredential(
                net::URLCredential::withUser("ann", "wrong", net::URLCredential::Persistence::None));
        else
            challenge->continueWithoutCredential();
    };
    run(request("/private"), wrong);
    EXPECT_TRUE(wrong->finished());
    EXPECT_EQ(wrong->response()->statusCode(), 401);
    EXPECT_EQ(wrong->body(), "who are you");
    EXPECT_EQ(wrongCounts, (std::vector<int> { 0, 1 }));
}

TEST_F(URLConnectionTest, WithoutADelegateAnswerTheSharedStoreSuppliesTheCredential)
{
    m_server.server().Get("/private", [](const httplib::Request& request, httplib::Response& response) {
        if (request.get_header_value("Authorization") == "Basic YW5uOnNlY3JldA==") {
            response.set_content("welcome", "text/plain");
            return;
        }
        response.status = 401;
        response.set_header("WWW-Authenticate", "Basic realm=\"devices\"");
    });
    m_server.start();
    net::URLProtectionSpace space { "127.0.0.1", m_server.port(), "http", "devices",
        net::URLProtectionSpace::HTTPBasic };
    net::URLCredentialStorage::shared().setDefaultCredential(
        net::URLCredential::withUser("ann", "secret", net::URLCredential::Persistence::ForSession), space);
    auto recorder = run(request("/private"));
    net::URLCredentialStorage::shared().removeAll();
    EXPECT_EQ(recorder->body(), "welcome");
}

// The pool hands each connection the easy handle of the call before: nothing of that call may reach the next.
TEST_F(URLConnectionTest, AReusedHandleCarriesNothingOfThePreviousCall)
{
    auto echo = [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.method + ":" + request.body, "text/plain");
    };
    m_server.server().Get("/echo", echo).Post("/echo", echo).Put("/echo", echo).Delete("/echo", echo);
    m_server.server().Patch("/echo", echo);
    m_server.server().Get("/private", [](const httplib::Request& request, httplib::Response& response) {
        if (request.has_header("Authorization")) {
            response.set_content("welcome", "text/plain");
            return;
        }
        response.status = 401;
        response.set_header("WWW-Authenticate", "Basic realm=\"devices\"");
    });
    m_server.start();
    auto call = [&](const std::string& method, std::optional<std::string> body, bool streamed = false) {
        auto made = request("/echo");
        made.setHTTPMethod(method);
        if (body && streamed) {
            made.setValue(std::to_string(body->size()), "Content-Length");
            made.setHTTPBodyStream(net::InputStream::withData(base::Data(body->begin(), body->end())));
        } else if (body) {
            made.setHTTPBody(base::Data(body->begin(), body->end()));
        }
        if (method == "PUT") {
            made.setValue("bytes=5-", "Range");
            made.setValue("Basic YW5uOnNlY3JldA==", "Authorization");
        }
        return run(made)->body();
    };
    EXPECT_EQ(call("HEAD", std::nullopt), "");
    EXPECT_EQ(call("GET", std::nullopt), "GET:");
    EXPECT_EQ(call("PUT", "put-body"), "ut-body") << "the server answers the range asked for";
    EXPECT_EQ(call("GET", std::nullopt), "GET:");
    EXPECT_EQ(call("POST", "streamed", true), "POST:streamed");
    EXPECT_EQ(call("GET", std::nullopt), "GET:");
    call("GET", "sent-with-get");
    EXPECT_EQ(call("DELETE", std::nullopt), "DELETE:");
    EXPECT_EQ(call("POST", std::nullopt), "POST:");
    EXPECT_EQ(call("HEAD", std::nullopt), "");
    EXPECT_EQ(call("PATCH", "patched"), "PATCH:patched");
    auto received = m_server.received();
    ASSERT_EQ(received.size(), 11u);
    for (size_t index : { 1u, 3u, 5u }) {
        EXPECT_FALSE(received[index].hasHeader("Range")) << index;
        EXPECT_FALSE(received[index].hasHeader("Authorization")) << index;
        EXPECT_FALSE(received[index].hasHeader("Content-Length")) << index;
        EXPECT_EQ(received[index].method, "GET") << index;
    }
    EXPECT_EQ(received[2].header("Range"), "bytes=5-");
    EXPECT_EQ(received[6].header("Content-Length"), "13") << "a GET with a body sends it (the server ignores it)";
    EXPECT_EQ(received[8].header("Content-Length"), "0");
    EXPECT_EQ(received[9].method, "HEAD");

    auto answered = std::make_shared<test::ConnectionRecorder>();
    answered->onCanAuthenticate = [](const net::URLProtectionSpace&) { return true; };
    answered->onChallenge = [](const std::shared_ptr<net::URLAuthenticationChallenge>& challenge) {
        challenge->useCredential(net::URLCredential::withUser("ann", "secret", net::URLCredential::Persistence::None));
    };
    EXPECT_EQ(run(request("/private"), answered)->body(), "welcome");
    auto refused = std::make_shared<test::ConnectionRecorder>();
    refused->onCanAuthenticate = [](const net::URLProtectionSpace&) { return true; };
    refused->onChallenge = [](const std::shared_ptr<net::URLAuthenticationChallenge>& challenge) {
        challenge->continueWithoutCredential();
    };
    EXPECT_EQ(run(request("/private"), refused)->response()->statusCode(), 401);
    received = m_server.received();
    ASSERT_EQ(received.size(), 14u);
    EXPECT_TRUE(received[12].hasHeader("Authorization"));
    EXPECT_FALSE(received[13].hasHeader("Authorization")) << "the next call on the handle sent the credential";

    // Calls of one kind in a row: each sends its own body and URL, whatever the handle already holds.
    EXPECT_EQ(call("POST", "first-body"), "POST:first-body");
    EXPECT_EQ(call("POST", "other-body"), "POST:other-body");
    EXPECT_EQ(call("POST", "a much longer body"), "POST:a much longer body");
    EXPECT_EQ(call("POST", "short"), "POST:short");
    EXPECT_EQ(call("HEAD", std::nullopt), "");
    EXPECT_EQ(call("POST", "after-head"), "POST:after-head");
    EXPECT_EQ(call("PUT", "put-again"), "ut-again");
    EXPECT_EQ(call("PUT", "put-twice"), "ut-twice");
    call("GET", "sent-with-get");
    EXPECT_EQ(call("GET", std::nullopt), "GET:");
    EXPECT_EQ(run(request("/private"))->response()->statusCode(), 401) << "a call to another URL went to /echo";
    EXPECT_EQ(call("GET", std::nullopt), "GET:");
    received = m_server.received();
    ASSERT_EQ(received.size(), 26u);
    EXPECT_EQ(received[18].method, "HEAD");
    EXPECT_FALSE(received[18].hasHeader("Content-Length"));
    EXPECT_EQ(received[22].header("Content-Length"), "13");
    EXPECT_EQ(received[23].method, "GET");
    EXPECT_FALSE(received[23].hasHeader("Content-Length"));
}
