#include "ServiceFixture.h"

#include "base/system/Log.h"
#include "tracking-service/RequestForm.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace {

// One HTTP/1.1 connection to the service, spoken by hand so that the test sees when the service closes it.
class RawConnection {
public:
    explicit RawConnection(int port)
        : m_socket(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = connect(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawConnection() { close(m_socket); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return m_connected; }

    // Posts the method with no body and reads the whole reply; its status, or 0 when the connection ended.
    int post(const std::string& method) { return write(request(method)) ? readReply() : 0; }

    // A web method's request head, followed by `body` when it is given.
    static std::string request(const std::string& method, const std::string& body = {})
    {
        return head(method, "Content-Length: " + std::to_string(body.size())) + body;
    }
    // A web method's request head with the given field for the body's length.
    static std::string head(const std::string& method, const std::string& lengthField)
    {
        return "POST /Server/Mobileservice.asmx/" + method
            + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n" + lengthField
            + "\r\nConnection: keep-alive\r\n\r\n";
    }

    bool write(std::string_view bytes) const
    {
        return send(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
    }

    // Whether something (a reply, or the end of the connection) comes within `limit`.
    bool awaitReading(std::chrono::milliseconds limit) const
    {
        pollfd watched { m_socket, POLLIN, 0 };
        return poll(&watched, 1, int(limit.count())) > 0;
    }

    // Reads a whole reply; its status, or 0 when the connection ended.
    int readReply()
    {
        std::string reply;
        size_t headEnd = std::string::npos;
        while ((headEnd = reply.find("\r\n\r\n")) == std::string::npos || reply.size() < headEnd + 4 + length(reply)) {
            char buffer[4096];
            ssize_t got = recv(m_socket, buffer, sizeof buffer, 0);
            if (got <= 0)
                return 0;
            reply.append(buffer, size_t(got));
        }
        return reply.starts_with("HTTP/1.1 ") ? std::stoi(reply.substr(9, 3)) : 0;
    }

    // Whether the service has closed its side: reading finds the end at once, without waiting.
    bool closedByService() const
    {
        char byte;
        return recv(m_socket, &byte, 1, MSG_DONTWAIT) == 0;
    }

private:
    static size_t length(const std::string& head)
    {
        size_t at = head.find("Content-Length: ");
        return at == std::string::npos ? 0 : std::stoul(head.substr(at + 16));
    }

    int m_socket;
    bool m_connected { false };
};

using ConnectionsTest = ServiceFixture;

TEST_F(ConnectionsTest, OneConnectionCarriesSuccessiveRequests)
{
    RawConnection connection(m_service->port());
    ASSERT_TRUE(connection.connected());
    EXPECT_EQ(connection.post("GetServerList"), 200);
    EXPECT_EQ(connection.post("GetServerList"), 200);
    EXPECT_FALSE(connection.closedByService());
}

TEST_F(ConnectionsTest, StopClosesAnIdleKeptAliveConnectionWithoutWaitingOutItsIdleTime)
{
    // An idle limit of an hour: a stop() that waited it out would never return within the test.
    m_service->stop();
    m_service->setIdleConnectionLimit(std::chrono::hours(1));
    ASSERT_TRUE(m_service->start());
    RawConnection connection(m_service->port());
    ASSERT_TRUE(connection.connected());
    ASSERT_EQ(connection.post("GetServerList"), 200);

    m_service->stop();
    EXPECT_TRUE(connection.closedByService());
}

// Senders that trickle their heads a byte at a time never let a single read time out: the overall deadline of a
// head closes them, and a request queued behind them is answered. Each round gives every sender one more byte,
// then connects one more sender, or, once all are there, gives the queued request a tenth of a second; without
// the deadline the senders would hold every worker for as long as the rounds last.
TEST_F(ConnectionsTest, SlowSendersAreClosedAtTheHeadDeadlineAndTheWorkersServeOthers)
{
    m_service->stop();
    m_service->setHeadDeadline(std::chrono::milliseconds(500));
    ASSERT_TRUE(m_service->start());
    constexpr size_t Senders = 80; // more than the service's workers
    std::vector<std::unique_ptr<RawConnection>> senders;
    std::unique_ptr<RawConnection> queued;
    bool answered = false;
    for (int round = 0; round < 500 && !answered; ++round) {
        for (auto& sender : senders)
            sender->write("a");
        if (senders.size() < Senders) {
            senders.push_back(std::make_unique<RawConnection>(m_service->port()));
            ASSERT_TRUE(senders.back()->connected());
            ASSERT_TRUE(senders.back()->write("POST /Server/Mobileservice.asmx/GetServerList HTTP/1.1\r\nX-Slow: "));
        } else if (!queued) {
            queued = std::make_unique<RawConnection>(m_service->port());
            ASSERT_TRUE(queued->write(RawConnection::request("GetServerList")));
        } else {
            answered = queued->awaitReading(std::chrono::milliseconds(100));
        }
    }
    ASSERT_TRUE(answered);
    EXPECT_EQ(queued->readReply(), 200);
    size_t closed = 0;
    for (auto& sender : senders)
        closed += sender->awaitReading(std::chrono::milliseconds(0)) ? 1 : 0;
    EXPECT_GT(closed, 0u);
}

// The sign-in's body, with a token padded so that the whole body has `size` bytes.
std::string signInBody(size_t size)
{
    std::string body = std::string(R"({"LoginName":")") + tracking_service::DemoData::AccountName + R"(","Password":")"
        + tracking_service::DemoData::Password + R"(","Token":""})";
    body.insert(body.size() - 2, size - body.size(), 't');
    return body;
}

// Senders that send a head and then dribble its body a byte at a time fall behind the body's minimum rate once its
// first allowance has passed: their connections close, and a sign-in queued behind them is answered. Each round
// gives every sender one more byte, then connects one more sender, or, once all are there, gives the sign-in a
// tenth of a second; without the body's deadline the senders would hold every worker for as long as the rounds
// last.
TEST_F(ConnectionsTest, SendersThatDribbleTheirBodiesAreClosedAndASignInIsAnswered)
{
    m_service->stop();
    m_service->setHeadDeadline(std::chrono::milliseconds(500));
    ASSERT_TRUE(m_service->start());
    constexpr size_t Senders = 80; // more than the service's workers
    std::vector<std::unique_ptr<RawConnection>> senders;
    std::unique_ptr<RawConnection> signIn;
    bool answered = false;
    for (int round = 0; round < 500 && !answered; ++round) {
        for (auto& sender : senders)
            sender->write("t");
        if (senders.size() < Senders) {
            senders.push_back(std::make_unique<RawConnection>(m_service->port()));
            ASSERT_TRUE(senders.back()->connected());
            ASSERT_TRUE(senders.back()->write(RawConnection::head("SaveAppleToken", "Content-Length: 1000")));
        } else if (!signIn) {
            signIn = std::make_unique<RawConnection>(m_service->port());
            ASSERT_TRUE(signIn->write(RawConnection::request("Login", signInBody(100))));
        } else {
            answered = signIn->awaitReading(std::chrono::milliseconds(100));
        }
    }
    ASSERT_TRUE(answered);
    EXPECT_EQ(signIn->readReply(), 200);
    size_t closed = 0;
    for (auto& sender : senders)
        closed += sender->awaitReading(std::chrono::milliseconds(0)) ? 1 : 0;
    EXPECT_GT(closed, 0u);
}

// A body sent well above the minimum rate is read to its end, though it lasts past its first allowance. Each
// part comes long before the rate asks for it, so a slow machine does not make it late.
TEST_F(ConnectionsTest, ABodyAboveTheMinimumRateIsReadPastItsFirstAllowance)
{
    m_service->stop();
    m_service->setHeadDeadline(std::chrono::milliseconds(1000));
    ASSERT_TRUE(m_service->start());
    RawConnection upload(m_service->port());
    ASSERT_TRUE(upload.connected());
    const std::string body = signInBody(tracking_service::RequestForm::FieldsBodyLimit);
    constexpr size_t First = 8 * 1024;
    constexpr size_t Step = 4 * 1024; // every tenth of a second: 40 KB/s
    ASSERT_TRUE(upload.write(
        RawConnection::head("Login", "Content-Length: " + std::to_string(body.size())) + body.substr(0, First)));
    for (size_t sent = First; sent < body.size(); sent += Step) {
        ASSERT_FALSE(upload.awaitReading(std::chrono::milliseconds(100))) << "answered before the whole body";
        ASSERT_TRUE(upload.write(std::string_view(body).substr(sent, Step)));
    }
    EXPECT_EQ(upload.readReply(), 200);
}

// A body larger than its request takes is refused at once with 413, one without a declared length with 411,
// and one whose length cannot be read for sure (not digits, too large a number, fields that disagree) with 400,
// none of them read; the connection closes, since what comes of the body cannot be read as a request. A
// request of fields the application fills takes less than one that carries a typed text.
TEST_F(ConnectionsTest, ABodyAboveItsLimitOrWithoutASureLengthIsRefusedUnread)
{
    constexpr size_t Limit = tracking_service::RequestForm::FieldsBodyLimit;
    constexpr size_t TextLimit = tracking_service::RequestForm::TypedTextBodyLimit;
    const std::pair<std::string, int> heads[] = {
        { RawConnection::head("Login", "Content-Length: 1073741824"), 413 },
        { RawConnection::head("Login", "Content-Length: 1073741824\r\nExpect: 100-continue"), 413 },
        { RawConnection::head("Login", "Content-Length: " + std::to_string(Limit + 1)), 413 },
        { RawConnection::head("LumetSendTextMsg", "Content-Length: 1073741824"), 413 },
        { RawConnection::head("LumetSendTextMsg", "Content-Length: " + std::to_string(TextLimit + 1)), 413 },
        { RawConnection::head("Login", "Transfer-Encoding: chunked"), 411 },
        { RawConnection::head("Login", "Content-Length: abc"), 400 },
        { RawConnection::head("Login", "Content-Length: 12abc"), 400 },
        { RawConnection::head("Login", "Content-Length: -1"), 400 },
        { RawConnection::head("Login", "Content-Length: +12"), 400 },
        { RawConnection::head("Login", "Content-Length: "), 400 },
        { RawConnection::head("Login", "Content-Length: 12, 12"), 400 },
        { RawConnection::head("Login", "Content-Length: 99999999999999999999999"), 400 },
        { RawConnection::head("Login", "Content-Length: 12\r\nContent-Length: 13"), 400 },
        { RawConnection::head("Login", "Content-Length: 1073741824\r\nContent-Length: 12"), 400 },
    };
    for (const auto& [head, status] : heads) {
        SCOPED_TRACE(head);
        RawConnection connection(m_service->port());
        ASSERT_TRUE(connection.connected());
        ASSERT_TRUE(connection.write(head));
        EXPECT_EQ(connection.readReply(), status);
        ASSERT_TRUE(connection.awaitReading(std::chrono::seconds(30)));
        EXPECT_TRUE(connection.closedByService());
    }
    RawConnection atTheLimit(m_service->port());
    ASSERT_TRUE(atTheLimit.connected());
    ASSERT_TRUE(atTheLimit.write(RawConnection::request("Login", signInBody(Limit))));
    EXPECT_EQ(atTheLimit.readReply(), 200);
    // The same length twice is one length.
    const std::string body = signInBody(100);
    ASSERT_TRUE(atTheLimit.write(RawConnection::head("Login", "Content-Length: 100\r\nContent-Length: 100") + body));
    EXPECT_EQ(atTheLimit.readReply(), 200);
}

// A second service on a port the first listens on refuses to start, and says why: sharing the port, the kernel
// would split the requests between the two stores.
TEST_F(ConnectionsTest, ASecondServiceOnAPortInUseRefusesToStart)
{
    test::TempDir folder;
    tracking_service::TrackingService second(folder.path());
    base::Log::ScopedCapture capture;
    EXPECT_FALSE(second.start("127.0.0.1", m_service->port()));
    EXPECT_TRUE(capture.contains("the port is in use")) << ::testing::PrintToString(capture.messages());
    RawConnection connection(m_service->port());
    EXPECT_EQ(connection.post("GetServerList"), 200);
}

// Senders that each keep a connection busy with requests in time (a head sent slowly but within its deadline,
// the next request within the idle limit) would keep every worker for good. A connection gives its worker up
// after a slow request, or once it has held it for its turn: its reply says "Connection: close", and a sign-in
// that came meanwhile is answered before the sender, connecting anew, gets a worker again. The sign-in is
// sent once every worker has served a sender; without the turn none would ever be free for it.
TEST_F(ConnectionsTest, ConnectionsThatKeepSendingGiveTheirWorkersUpAndASignInIsAnswered)
{
    using std::chrono::hours;
    using std::chrono::milliseconds;
    struct Round {
        const char* name;
        milliseconds turn;
        milliseconds slowHead;
        // How long a sender waits between the two halves of each head.
        milliseconds pause;
    };
    const Round rounds[] = {
        { "slow heads", hours(1), milliseconds(20), milliseconds(50) },
        // Paced so that a connection's thousand requests, after which it would close anyway, outlast the wait.
        { "turns over", milliseconds(0), hours(1), milliseconds(40) },
    };
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.name);
        m_service->stop();
        m_service->setWorkerTurn(round.turn, round.slowHead);
        ASSERT_TRUE(m_service->start());
        const int port = m_service->port();
        std::atomic<bool> done { false };
        std::atomic<size_t> answered { 0 };
        std::vector<std::thread> senders;
        for (size_t sender = 0; sender < tracking_service::TrackingService::WorkerCount; ++sender) {
            senders.emplace_back([&] {
                const std::string request = RawConnection::request("GetServerList");
                const size_t half = request.size() / 2;
                bool first = true;
                while (!done) {
                    RawConnection connection(port);
                    while (!done && connection.connected() && connection.write(request.substr(0, half))) {
                        std::this_thread::sleep_for(round.pause);
                        if (!connection.write(request.substr(half)) || connection.readReply() != 200)
                            break;
                        answered += std::exchange(first, false) ? 1 : 0;
                        if (connection.closedByService())
                            break;
                    }
                    if (!connection.connected())
                        return;
                }
            });
        }
        // Every sender has had an answer: each has held a worker.
        for (auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
             answered < tracking_service::TrackingService::WorkerCount && std::chrono::steady_clock::now() < limit;)
            std::this_thread::yield();

        RawConnection signIn(port);
        ASSERT_TRUE(signIn.write(RawConnection::request("Login", signInBody(100))));
        // Only a bound for a service that never frees a worker: the answer comes after one request.
        bool signedIn = signIn.awaitReading(std::chrono::seconds(30));
        EXPECT_TRUE(signedIn);
        if (signedIn) {
            EXPECT_EQ(signIn.readReply(), 200);
        }
        done = true;
        // Stopping ends every connection, so each sender leaves.
        m_service->stop();
        for (auto& sender : senders)
            sender.join();
        ASSERT_TRUE(m_service->start());
    }
}

} // namespace
