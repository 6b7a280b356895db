// net::NetworkTransfer: what net::MainLoopTransfers asks of a transfer it drives (a connection's current
// attempt). Every call comes on the main thread, from the main run loop.
#pragma once

#include <chrono>

namespace net {

class NetworkTransfer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~NetworkTransfer() = default;

    // The transfer's handle has finished with libcurl's result code; it is no longer registered.
    virtual void transferCompleted(int curlCode) = 0;
    // When the transfer times out if nothing moves before then (steady clock, real time).
    virtual TimePoint idleDeadline() const = 0;
    // The deadline has passed; the transfer is no longer registered.
    virtual void idleDeadlinePassed() = 0;
    // The transfers are being stopped; the transfer is no longer registered.
    virtual void transfersStopping() = 0;
};

} // namespace net
