#include "ConnectionRecorder.h"
#include "networking/LoopbackServer.h"
#include "networking/SelfSignedCertificate.h"

#include "base/time/ManualClock.h"
#include "net/http/URLErrors.h"
#include "net/loading/MainLoopTransfers.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class ConnectionTLSTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_clock = base::ManualClock::install();
        m_server.setScheme("https");
        m_server.server().Get("/secret", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("over TLS", "text/plain");
        });
        m_server.server().Get("/downgrade", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("http://127.0.0.1:9/plain", 302);
        });
        m_server.start();
    }
    void TearDown() override
    {
        net::MainLoopTransfers::shared().stop();
        m_server.stop();
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    std::shared_ptr<test::ConnectionRecorder> run(
        std::shared_ptr<test::ConnectionRecorder> recorder, std::string_view path = "/secret")
    {
        net::URLConnection::make(net::URLRequest(base::URL::parse(m_server.url(path))), recorder)->start();
        EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return recorder->ended(); }, 10s));
        return recorder;
    }

    std::shared_ptr<base::ManualClock> m_clock;
    test::SelfSignedCertificate m_certificate;
    test::LoopbackServer m_server { std::make_unique<httplib::SSLServer>(
        m_certificate.certificate(), m_certificate.key()) };
};

} // namespace

TEST_F(ConnectionTLSTest, AnUnverifiableCertificateIsRefused)
{
    auto recorder = run(std::make_shared<test::ConnectionRecorder>());
    ASSERT_TRUE(recorder->error());
    EXPECT_EQ(recorder->error()->code(), base::Error::URLServerCertificateUntrusted);
    EXPECT_TRUE(m_server.received().empty());
}

TEST_F(ConnectionTLSTest, ADelegateThatDeclinesTheServerTrustChallengeKeepsItRefused)
{
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    recorder->onCanAuthenticate = [](const net::URLProtectionSpace&) { return true; };
    run(recorder);
    ASSERT_TRUE(recorder->error());
    EXPECT_EQ(recorder->error()->code(), base::Error::URLServerCertificateUntrusted);
    EXPECT_EQ(recorder->challengedMethods(), std::vector<std::string> { net::URLProtectionSpace::ServerTrust });
}

TEST_F(ConnectionTLSTest, ADelegateThatAcceptsTheServerTrustGetsThrough)
{
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    recorder->onCanAuthenticate = [](const net::URLProtectionSpace& space) {
        return space.authenticationMethod == net::URLProtectionSpace::ServerTrust;
    };
    recorder->onChallenge = [](const std::shared_ptr<net::URLAuthenticationChallenge>& challenge) {
        challenge->useCredential(net::URLCredential::acceptingServerTrust());
    };
    run(recorder);
    ASSERT_TRUE(recorder->finished()) << recorder->error()->description();
    EXPECT_EQ(recorder->body(), "over TLS");

    // The next call takes the same pooled handle: it verifies the server again.
    auto next = run(std::make_shared<test::ConnectionRecorder>());
    ASSERT_TRUE(next->error());
    EXPECT_EQ(next->error()->code(), base::Error::URLServerCertificateUntrusted);
}

TEST_F(ConnectionTLSTest, ARedirectFromASecureToAPlainConnectionIsRefused)
{
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    recorder->onCanAuthenticate = [](const net::URLProtectionSpace&) { return true; };
    recorder->onChallenge = [](const std::shared_ptr<net::URLAuthenticationChallenge>& challenge) {
        challenge->useCredential(net::URLCredential::acceptingServerTrust());
    };
    run(recorder, "/downgrade");
    ASSERT_TRUE(recorder->error());
    EXPECT_EQ(recorder->error()->code(), net::URLErrors::SecureConnectionRequired);
    EXPECT_EQ(m_server.received().size(), 1u);
}
