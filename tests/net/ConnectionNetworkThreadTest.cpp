#include "ConnectionRecorder.h"
#include "networking/LoopbackFixture.h"

#include "base/time/ManualClock.h"
#include "net/loading/NetworkThread.h"

#include <atomic>
#include <gtest/gtest.h>
#include <pthread.h>

using namespace std::chrono_literals;

namespace {

class ConnectionNetworkThreadTest : public testing::Test {
protected:
    void SetUp() override { m_clock = base::ManualClock::install(); }
    void TearDown() override
    {
        m_release.open();
        net::NetworkThread::shared().stop();
        m_server.stop();
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    // Runs a task on the network thread and waits for it.
    void onNetworkThread(std::function<void()> task)
    {
        std::atomic<bool> ran { false };
        net::NetworkThread::shared().post([&] {
            task();
            ran = true;
            base::RunLoop::main().post([] {});
        });
        ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return ran.load(); }, 10s));
    }

    void waitUntilParked()
    {
        ASSERT_TRUE(base::RunLoop::main().runUntil(
            [] {
                base::RunLoop::main().post([] {});
                return net::NetworkThread::shared().isParked();
            },
            10s));
    }

    std::shared_ptr<base::ManualClock> m_clock;
    test::LoopbackServer m_server;
    test::Gate m_release;
};

} // namespace

TEST_F(ConnectionNetworkThreadTest, TheThreadIsNamedNetworking)
{
    std::string name;
    onNetworkThread([&] {
        char buffer[32] {};
        pthread_getname_np(pthread_self(), buffer, sizeof buffer);
        name = buffer;
        EXPECT_TRUE(net::NetworkThread::shared().isCurrent());
    });
    EXPECT_EQ(name, "Networking");
    EXPECT_FALSE(net::NetworkThread::shared().isCurrent());
}

TEST_F(ConnectionNetworkThreadTest, WithNothingToDoTheThreadWakesOnlyForNewWork)
{
    m_server.server().Get(
        "/", [](const httplib::Request&, httplib::Response& response) { response.set_content("x", "text/plain"); });
    m_server.start();
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    net::URLConnection::make(net::URLRequest(base::URL::parse(m_server.url("/"))), recorder)->start();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return recorder->ended(); }, 10s));

    waitUntilParked();
    uint64_t before = net::NetworkThread::shared().wakeUps();
    for (int task = 0; task < 3; ++task) {
        onNetworkThread([] {});
        waitUntilParked();
    }
    uint64_t woken = net::NetworkThread::shared().wakeUps() - before;
    EXPECT_GE(woken, 1u);
    EXPECT_LE(woken, 3u) << "a spinning thread would wake far more often";
}

TEST_F(ConnectionNetworkThreadTest, StoppingEndsRunningTransfersAsCancelledAndTheThreadStartsAgain)
{
    std::atomic<bool> arrived { false };
    m_server.server().Get("/hang", [&](const httplib::Request&, httplib::Response& response) {
        arrived = true;
        base::RunLoop::main().post([] {});
        m_release.wait();
        response.set_content("late", "text/plain");
    });
    m_server.server().Get("/quick",
        [](const httplib::Request&, httplib::Response& response) { response.set_content("quick", "text/plain"); });
    m_server.start();
    auto hanging = std::make_shared<test::ConnectionRecorder>();
    net::URLConnection::make(net::URLRequest(base::URL::parse(m_server.url("/hang"))), hanging)->start();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return arrived.load(); }, 10s));

    net::NetworkThread::shared().stop();
    ASSERT_TRUE(hanging->error());
    EXPECT_EQ(hanging->error()->code(), base::Error::URLCancelled);
    m_release.open();

    auto after = std::make_shared<test::ConnectionRecorder>();
    net::URLConnection::make(net::URLRequest(base::URL::parse(m_server.url("/quick"))), after)->start();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return after->ended(); }, 10s));
    EXPECT_EQ(after->body(), "quick");
}
