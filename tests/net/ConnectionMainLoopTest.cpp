#include "ConnectionRecorder.h"
#include "networking/LoopbackFixture.h"

#include "base/loop/MainThread.h"
#include "base/time/ManualClock.h"
#include "net/loading/MainLoopTransfers.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

class ConnectionMainLoopTest : public testing::Test {
protected:
    void SetUp() override { m_clock = base::ManualClock::install(); }
    void TearDown() override
    {
        m_release.open();
        net::MainLoopTransfers::shared().stop();
        m_server.stop();
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    net::URLRequest request(std::string_view path) const
    {
        return net::URLRequest(base::URL::parse(m_server.url(path)));
    }

    // "/hang" answers "late" once m_release opens; m_arrived tells that the request reached the server.
    void serveHangingRoute()
    {
        m_server.server().Get("/hang", [this](const httplib::Request&, httplib::Response& response) {
            m_arrived = true;
            base::RunLoop::main().post([] {});
            m_release.wait();
            response.set_content("late", "text/plain");
        });
    }

    std::shared_ptr<base::ManualClock> m_clock;
    test::LoopbackServer m_server;
    test::Gate m_release;
    std::atomic<bool> m_arrived { false };
};

// Counts the body bytes each turn of the main loop takes in: its largest turn is what a download can hold up a
// frame by.
class TurnByteCounter : public test::ConnectionRecorder {
public:
    TurnByteCounter()
        : m_observer(base::RunLoop::main().addEndOfTurnObserver([this] {
            m_largestTurn = std::max(m_largestTurn, m_thisTurn);
            m_turnsWithBytes += m_thisTurn ? 1 : 0;
            m_thisTurn = 0;
        }))
    {
    }
    ~TurnByteCounter() override { base::RunLoop::main().removeObserver(m_observer); }

    void didReceiveData(net::URLConnection& connection, const uint8_t* bytes, size_t length) override
    {
        m_thisTurn += length;
        test::ConnectionRecorder::didReceiveData(connection, bytes, length);
    }

    size_t largestTurn() const { return m_largestTurn; }
    int turnsWithBytes() const { return m_turnsWithBytes; }

private:
    base::RunLoop::ObserverId m_observer;
    size_t m_thisTurn { 0 };
    size_t m_largestTurn { 0 };
    int m_turnsWithBytes { 0 };
};

} // namespace

TEST_F(ConnectionMainLoopTest, DelegateCallsComeOnTheMainThreadWhicheverThreadStartsTheConnection)
{
    m_server.server().Get(
        "/", [](const httplib::Request&, httplib::Response& response) { response.set_content("x", "text/plain"); });
    m_server.start();
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    std::atomic<bool> responseOnMainThread { false };
    recorder->onResponse = [&](net::URLConnection&) { responseOnMainThread = base::isMainThread(); };
    std::thread([&] { net::URLConnection::make(request("/"), recorder)->start(); }).join();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return recorder->ended(); }, 10s));
    EXPECT_TRUE(recorder->finished());
    EXPECT_TRUE(responseOnMainThread.load());
}

TEST_F(ConnectionMainLoopTest, SocketsAreWatchedOnlyWhileTheirTransferRuns)
{
    serveHangingRoute();
    m_server.start();
    auto recorder = std::make_shared<test::ConnectionRecorder>();
    net::URLConnection::make(request("/hang"), recorder)->start();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return m_arrived.load(); }, 10s));
    EXPECT_EQ(net::MainLoopTransfers::shared().watchedSockets(), 1u);

    m_release.open();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return recorder->ended(); }, 10s));
    EXPECT_EQ(recorder->body(), "late");
    EXPECT_EQ(net::MainLoopTransfers::shared().watchedSockets(), 0u)
        << "a kept-alive connection with no transfer must not wake the loop";
}

TEST_F(ConnectionMainLoopTest, ALargeBodyIsTakenInOverSeveralBoundedTurns)
{
    const std::string file(16 << 20, 'b');
    m_server.server().Get("/large", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(file, "application/octet-stream");
    });
    m_server.start();
    auto counter = std::make_shared<TurnByteCounter>();
    net::URLConnection::make(request("/large"), counter)->start();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return counter->ended(); }, 20s));
    ASSERT_TRUE(counter->finished());
    EXPECT_EQ(counter->body().size(), file.size());
    // libcurl reads at most 101 times its 16 KB buffer in one call before it asks to be called again, and a
    // turn calls it at most three times (the socket ready, the call it asked for, its timer): a turn never
    // takes in a whole large body.
    EXPECT_LE(counter->largestTurn(), size_t(3 * 101) * 16384);
    EXPECT_GE(counter->turnsWithBytes(), 2);
}

TEST_F(ConnectionMainLoopTest, StoppingEndsRunningTransfersAsCancelledAndTransfersStartAgain)
{
    serveHangingRoute();
    m_server.server().Get("/quick",
        [](const httplib::Request&, httplib::Response& response) { response.set_content("quick", "text/plain"); });
    m_server.start();
    auto hanging = std::make_shared<test::ConnectionRecorder>();
    net::URLConnection::make(request("/hang"), hanging)->start();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return m_arrived.load(); }, 10s));

    net::MainLoopTransfers::shared().stop();
    ASSERT_TRUE(hanging->error());
    EXPECT_EQ(hanging->error()->code(), base::Error::URLCancelled);
    EXPECT_EQ(net::MainLoopTransfers::shared().watchedSockets(), 0u);
    m_release.open();

    auto after = std::make_shared<test::ConnectionRecorder>();
    net::URLConnection::make(request("/quick"), after)->start();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return after->ended(); }, 10s));
    EXPECT_EQ(after->body(), "quick");
}
