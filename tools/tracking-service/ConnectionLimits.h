// tracking_service::ConnectionLimits: how long the service's HTTP server (DeadlineServer.h) lets one connection
// take over a worker: the deadline of a request's head, how slow a head makes its request the connection's
// last, and the turn after which a connection gives its worker up. A plain value; any thread.
//
//   tracking_service::ConnectionLimits limits;
//   limits.workerTurn = std::chrono::seconds(10);
#pragma once

#include <chrono>

namespace tracking_service {

struct ConnectionLimits {
    // How long reading a request's head may take in all; its body gets as long again to begin.
    std::chrono::milliseconds headDeadline { std::chrono::seconds(5) };
    // A request whose head took longer is its connection's last.
    std::chrono::milliseconds slowHead { std::chrono::seconds(1) };
    // How long a connection may hold its worker before its next reply is its last.
    std::chrono::milliseconds workerTurn { std::chrono::seconds(30) };
};

} // namespace tracking_service
