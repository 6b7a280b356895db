#include "ServiceFixture.h"

#include "base/system/Log.h"
#include "base/values/Array.h"
#include "core/service/ServiceProtocol.h"
#include "database/Database.h"
#include "database/DatabaseAdditions.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

using core::ServiceProtocol;
using tracking_service::DemoData;
using tracking_service::Fault;

namespace {

class MessageDeliveryTest : public ServiceFixture {
protected:
    size_t waitingCount(const std::string& cookie)
    {
        auto messages = payload(call(ServiceProtocol::PopMessagesMethod, "", cookie));
        return messages && messages->array() ? messages->array()->count() : 0;
    }

    // Sends a poll on a connection of its own and returns the socket, once the service holds the request.
    int sendPoll(const std::string& cookie)
    {
        int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(m_service->port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        std::string request = std::string("POST ") + methodPath(ServiceProtocol::PopMessagesMethod)
            + " HTTP/1.1\r\nHost: 127.0.0.1\r\nCookie: " + cookie
            + "\r\nContent-Type: application/json\r\nContent-Length: 0\r\n\r\n";
        EXPECT_EQ(::send(fd, request.data(), request.size(), MSG_NOSIGNAL), static_cast<ssize_t>(request.size()));
        auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (m_service->requestLog().requestsTo(ServiceProtocol::PopMessagesMethod).empty()
            && std::chrono::steady_clock::now() < limit)
            std::this_thread::yield();
        return fd;
    }

    // Closes at once, as a client that gave up does, without reading anything.
    static void drop(int fd)
    {
        linger immediately { 1, 0 };
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &immediately, sizeof immediately);
        ::close(fd);
    }
};

TEST_F(MessageDeliveryTest, ACallerThatLeftBeforeTheReplyGetsTheMessagesNextTime)
{
    std::string cookie = signIn();
    m_service->faults().set(ServiceProtocol::PopMessagesMethod, Fault::delay(std::chrono::minutes(10)));
    int fd = sendPoll(cookie);
    ASSERT_EQ(m_service->requestLog().requestsTo(ServiceProtocol::PopMessagesMethod).size(), 1u);
    drop(fd);
    // Lifting the delay lets the held poll answer into the closed connection; stopping waits for it.
    m_service->faults().remove(ServiceProtocol::PopMessagesMethod);
    m_service->stop();

    ASSERT_TRUE(m_service->start());
    m_client = std::make_unique<httplib::Client>("127.0.0.1", m_service->port());
    m_client->set_read_timeout(5, 0);
    EXPECT_GT(waitingCount(cookie), 0u);
}

// A message that holds a character the encoder refuses goes out with U+FFFD in its place, as the application
// reads it; one that is not JSON at all stays queued and is logged.
TEST_F(MessageDeliveryTest, BadCharactersGoOutReplacedAndAnUnreadableMessageStaysQueued)
{
    std::string cookie = signIn();
    // The demo's own messages go first.
    waitingCount(cookie);
    {
        auto database = database::Database::databaseWithPath((m_folder.path() / "service.sqlite").string());
        ASSERT_TRUE(database->open());
        for (std::string json : { std::string("not json"), std::string(R"([{"_id":"lone","Context":"\ud800"}])"),
                 std::string(R"([{"_id":"cut","Context":"a)") + "\xF0\x9F" + R"("}])",
                 std::string(R"([{"_id":"good"}])") })
            ASSERT_TRUE(database->executeUpdate(
                "insert into messages (account, json) values (?, ?)", DemoData::AccountName, json));
        ASSERT_TRUE(database->close());
    }

    base::Log::ScopedCapture capture;
    auto first = payload(call(ServiceProtocol::PopMessagesMethod, "", cookie));
    ASSERT_TRUE(first && first->array());
    ASSERT_EQ(first->array()->count(), 3u);
    const std::pair<const char*, const char*> sent[]
        = { { "lone", "\xEF\xBF\xBD" }, { "cut", "a\xEF\xBF\xBD" }, { "good", nullptr } };
    for (size_t i = 0; i < std::size(sent); ++i) {
        const auto& message = *first->array()->objectAtIndex(i).dictionary();
        EXPECT_EQ(*message.objectForKey("_id"), base::Value(sent[i].first));
        if (sent[i].second) {
            EXPECT_EQ(*message.objectForKey("Context"), base::Value(sent[i].second)) << sent[i].first;
        }
    }
    EXPECT_EQ(waitingCount(cookie), 0u);
    EXPECT_TRUE(capture.contains("cannot be read; it stays queued"));

    // The service marks what it sent only once the reply is out, after the client may have read it.
    ASSERT_TRUE(m_service->store().awaitDeliveries(std::chrono::seconds(30)));
    auto database = database::Database::databaseWithPath((m_folder.path() / "service.sqlite").string());
    ASSERT_TRUE(database->open());
    EXPECT_EQ(database::stringForQuery(*database, "select count(*) from messages where popped = 0"), "1");
    ASSERT_TRUE(database->close());
}

} // namespace
