// tracking_service::DeadlineServer: the service's HTTP server, cpp-httplib's own but for how it reads a
// connection. A sender that trickles its bytes never lets a single read time out, and enough of them would
// hold every worker for as long as they like, so besides the time-out of each single read:
// - reading a request's head (its request line and header fields) has an overall deadline, counted from the
//   head's first byte;
// - its body gets as long again to begin, and must then keep to MinimumBodyRate on average (a body of a few
//   MB at 100 KB/s does);
// - a body must declare its length once (or in fields that agree), in decimal digits, no larger than the
//   request's body limit: one without (chunked) is answered 411, an unreadable or conflicting length 400 and
//   a larger one 413, at once, without its bytes being read.
// Past a deadline, or after such an answer, the connection is closed and its worker serves others. The idle
// wait between the requests of a kept-alive connection keeps its own limit. A worker serves one connection at a
// time, so a connection that keeps sending requests in time would keep its worker for good: once it has held it
// for its turn, or after a request whose head came slowly, the reply in hand is its last (it says
// "Connection: close") and the worker goes on to the connections queued meanwhile. Configure before listening;
// connections are served on the server's workers.
//
//   tracking_service::DeadlineServer server({}, [](const httplib::Request&) { return 64 * 1024; });
//   server.Get("/", handler);
//   server.listen("127.0.0.1", 8080);
#pragma once

#include "tracking-service/ConnectionLimits.h"

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>

namespace tracking_service {

class DeadlineServer final : public httplib::Server {
public:
    // The average rate a body must keep to once its first deadline has passed, in bytes a second.
    static constexpr double MinimumBodyRate = 16 * 1024;

    // The largest body taken with a request, from its head.
    using BodyLimit = std::function<size_t(const httplib::Request&)>;

    DeadlineServer(ConnectionLimits limits, BodyLimit bodyLimit);

private:
    bool process_and_close_socket(socket_t socket) override;
    // The status that refuses the request's body unread (400, 411 or 413), or nothing.
    std::optional<int> bodyRefusal(const httplib::Request& request) const;

    ConnectionLimits m_limits;
    BodyLimit m_bodyLimit;
};

} // namespace tracking_service
