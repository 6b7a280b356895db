#include "LoopbackFixture.h"
#include "SelfSignedCertificate.h"

#include "networking/http/HTTPClient.h"

using namespace networking;

namespace {

class HTTPClientTLSTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_clock = base::ManualClock::install();
        m_server.setScheme("https");
        m_server.server().Post("/login", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(R"({"d":"ok"})", "application/json");
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

    // The call's error, or nothing when it succeeded.
    std::optional<base::Error> call(HTTPClient& client)
    {
        std::optional<std::optional<base::Error>> outcome;
        client.postPath(
            m_server.url("/login"), nullptr, [&](const auto&, const ResponseObject&) { outcome.emplace(); },
            [&](const auto&, const base::Error& error) { outcome.emplace(error); });
        EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return outcome.has_value(); }, std::chrono::seconds(10)));
        return outcome.value_or(std::nullopt);
    }

    std::shared_ptr<base::ManualClock> m_clock;
    test::SelfSignedCertificate m_certificate;
    test::LoopbackServer m_server { std::make_unique<httplib::SSLServer>(
        m_certificate.certificate(), m_certificate.key()) };
};

} // namespace

TEST_F(HTTPClientTLSTest, ASelfSignedServerIsRefusedUnlessTheClientAllowsInvalidCertificates)
{
    auto client = HTTPClient::clientWithBaseURL(*base::URL::parse("https://service.example.com/"));
    auto refused = call(*client);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->code(), base::Error::URLServerCertificateUntrusted);
    EXPECT_TRUE(m_server.received().empty());

    client->setAllowsInvalidSSLCertificate(true);
    EXPECT_FALSE(call(*client));
    EXPECT_EQ(m_server.received().size(), 1u);
}
