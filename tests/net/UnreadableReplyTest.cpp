#include "ConnectionRecorder.h"

#include "base/time/ManualClock.h"
#include "base/loop/RunLoop.h"
#include "net/loading/MainLoopTransfers.h"
#include "net/loading/URLConnection.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// A server on a loopback port that answers its one connection with the given bytes, whatever they are, once
// the request's head has arrived, and then closes it.
class RawReplyServer {
public:
    explicit RawReplyServer(std::string reply)
        : m_reply(std::move(reply))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listener, 1);
        socklen_t length = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serveOne(); });
    }
    ~RawReplyServer()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        ::close(m_listener);
    }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/reply"; }

private:
    void serveOne()
    {
        int connection = ::accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            return;
        std::string head;
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
            ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            head.append(buffer, static_cast<size_t>(got));
        }
        for (size_t sent = 0; sent < m_reply.size();) {
            ssize_t wrote = ::send(connection, m_reply.data() + sent, m_reply.size() - sent, MSG_NOSIGNAL);
            if (wrote <= 0)
                break;
            sent += static_cast<size_t>(wrote);
        }
        ::shutdown(connection, SHUT_WR);
        while (::recv(connection, buffer, sizeof buffer, 0) > 0) { }
        ::close(connection);
    }

    std::string m_reply;
    int m_listener { -1 };
    uint16_t m_port { 0 };
    std::thread m_thread;
};

class UnreadableReplyTest : public testing::Test {
protected:
    void SetUp() override { m_clock = base::ManualClock::install(); }
    void TearDown() override
    {
        net::MainLoopTransfers::shared().stop();
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    std::optional<base::Error> errorOfReply(std::string reply)
    {
        RawReplyServer server(std::move(reply));
        auto recorder = std::make_shared<test::ConnectionRecorder>();
        net::URLConnection::make(net::URLRequest(base::URL::parse(server.url())), recorder)->start();
        EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return recorder->ended(); }, 20s));
        EXPECT_FALSE(recorder->finished());
        return recorder->error();
    }

    std::shared_ptr<base::ManualClock> m_clock;
};

} // namespace

TEST_F(UnreadableReplyTest, RepliesTheStackCannotReadAreTheServersBadResponseWithTheReason)
{
    for (std::string reply : { std::string("HTTP/1.1 two hundred OK\r\nContent-Length: 2\r\n\r\nok"),
             std::string("HTTP/7 200 OK\r\nContent-Length: 2\r\n\r\nok"),
             "HTTP/1.1 200 OK\r\nX-Long: " + std::string(1 << 20, 'x') + "\r\nContent-Length: 2\r\n\r\nok" }) {
        auto error = errorOfReply(reply);
        ASSERT_TRUE(error) << reply.substr(0, 40);
        EXPECT_EQ(error->code(), base::Error::URLBadServerResponse) << error->localizedDescription();
        EXPECT_NE(error->localizedDescription().find(" ("), std::string::npos) << error->localizedDescription();
    }
}
