// tracking_service::DeadlineServer: the service's HTTP server, cpp-httplib's own but for how it reads a
// connection: reading a request's head (its request line and header fields) has an overall deadline, counted
// from the head's first byte, besides the time-out of each single read. A sender that trickles its head a
// byte at a time never lets a single read time out, and enough of them would hold every worker for as long as
// they like; past the deadline the connection is closed and its worker serves others. The body, and the idle
// wait between the requests of a kept-alive connection, keep their own limits. Configure before listening;
// connections are served on the server's workers.
//
//   tracking_service::DeadlineServer server(std::chrono::seconds(5));
//   server.Get("/", handler);
//   server.listen("127.0.0.1", 8080);
#pragma once

#include <httplib.h>

#include <chrono>

namespace tracking_service {

class DeadlineServer final : public httplib::Server {
public:
    explicit DeadlineServer(std::chrono::milliseconds headDeadline)
        : m_headDeadline(headDeadline)
    {
    }

private:
    bool process_and_close_socket(socket_t socket) override;

    std::chrono::milliseconds m_headDeadline;
};

} // namespace tracking_service
