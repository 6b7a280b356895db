#include "LoopbackFixture.h"

#include "networking/http/HTTPClient.h"
#include "networking/operations/JSONRequestOperation.h"

#include <atomic>

using namespace networking;
using namespace std::chrono_literals;

namespace {

class CallsInFlightTest : public test::LoopbackFixture {
protected:
    void SetUp() override
    {
        LoopbackFixture::SetUp();
        m_server.server().Post("/reply", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(R"({"d":1})", "application/json");
        });
        m_server.server().Post(
            "/missing", [](const httplib::Request&, httplib::Response& response) { response.status = 404; });
        m_server.server().Post("/hang", [this](const httplib::Request&, httplib::Response&) {
            m_arrived = true;
            base::RunLoop::main().post([] {});
            m_gate.wait();
        });
        m_server.start();
        m_client = HTTPClient::clientWithBaseURL(*base::URL::parse(m_server.url("/")));
    }

    // Runs the main loop until the count drops to zero, checking at every turn that it never does so before
    // every block that was to run has run.
    bool waitUntilDelivered(const int& blocksRun, int blocksExpected)
    {
        bool early = false;
        bool delivered = waitFor([&] {
            bool idle = m_client->callsInFlight() == 0;
            early = early || (idle && blocksRun < blocksExpected);
            return idle;
        });
        EXPECT_FALSE(early) << "a call was counted as delivered before its block ran";
        return delivered;
    }

    std::shared_ptr<HTTPClient> m_client;
    std::atomic<bool> m_arrived { false };
};

TEST_F(CallsInFlightTest, ACallStaysCountedWhileItsBlockRunsAndLeavesOnceItReturned)
{
    int blocksRun = 0;
    size_t countedDuringSuccess = 0;
    size_t countedDuringFailure = 0;
    m_client->postPath("reply", nullptr,
        [&](const auto&, const ResponseObject&) {
            countedDuringSuccess = m_client->callsInFlight();
            ++blocksRun;
        },
        {});
    m_client->postPath("missing", nullptr, {}, [&](const auto&, const base::Error&) {
        countedDuringFailure = m_client->callsInFlight();
        ++blocksRun;
    });
    EXPECT_EQ(m_client->callsInFlight(), 2u);
    ASSERT_TRUE(waitUntilDelivered(blocksRun, 2));
    EXPECT_GE(countedDuringSuccess, 1u);
    EXPECT_GE(countedDuringFailure, 1u);
}

TEST_F(CallsInFlightTest, AParsedReplyIsCountedUntilItsBlockRanAfterTheProcessingQueue)
{
    ASSERT_TRUE(m_client->registerHTTPOperationClass(JSONRequestOperation::operationClass()));
    m_client->setDefaultHeader("Accept", "application/json");
    int blocksRun = 0;
    std::optional<base::Value> received;
    for (int call = 0; call < 20; ++call)
        m_client->postPath("reply", nullptr,
            [&](const auto&, const ResponseObject& object) {
                if (auto* value = std::get_if<base::Value>(&object))
                    received = *value;
                ++blocksRun;
            },
            {});
    ASSERT_TRUE(waitUntilDelivered(blocksRun, 20));
    ASSERT_TRUE(received && received->dictionary());
    const base::Value* d = received->dictionary()->objectForKey("d");
    ASSERT_TRUE(d);
    EXPECT_EQ(*d, base::Value(1));
}

TEST_F(CallsInFlightTest, ACallWithoutABlockForItsOutcomeLeavesTheCount)
{
    m_client->postPath("reply", nullptr, {}, {});
    m_client->postPath("missing", nullptr, {}, {});
    int none = 0;
    EXPECT_TRUE(waitUntilDelivered(none, 0));
}

TEST_F(CallsInFlightTest, ACancelledCallIsDeliveredExactlyOnce)
{
    int successes = 0;
    int failures = 0;
    int blocksRun = 0;
    auto success = [&](const auto&, const ResponseObject&) {
        ++successes;
        ++blocksRun;
    };
    auto failure = [&](const auto&, const base::Error& error) {
        EXPECT_EQ(error.code(), base::Error::URLCancelled);
        ++failures;
        ++blocksRun;
    };
    auto beforeStart = m_client->HTTPRequestOperationWithRequest(
        m_client->requestWithMethod("POST", "reply", nullptr), success, failure);
    beforeStart->cancel();
    m_client->enqueueHTTPRequestOperation(beforeStart);
    m_client->postPath("hang", nullptr, success, failure);
    ASSERT_TRUE(waitFor([&] { return m_arrived.load(); }));
    m_client->cancelAllHTTPOperationsWithMethod("POST", "hang");
    // Cancelling again once the outcome is known changes nothing.
    m_client->cancelAllHTTPOperationsWithMethod("POST", "hang");
    beforeStart->cancel();
    ASSERT_TRUE(waitUntilDelivered(blocksRun, 2));
    // The server's late answer to the cancelled transfer delivers nothing more.
    m_gate.open();
    // One turn for the late answer; the predicate never holds.
    (void)base::RunLoop::main().runUntil([] { return false; }, 0s);
    EXPECT_EQ(successes, 0);
    EXPECT_EQ(failures, 2);
    EXPECT_EQ(m_client->callsInFlight(), 0u);
}

} // namespace
