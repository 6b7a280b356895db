// net::NetworkTransfer: what the network thread asks of a transfer it drives (a connection's current
// attempt). Every call comes on the network thread.
#pragma once

#include <chrono>

namespace net {

class NetworkTransfer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~NetworkTransfer() = default;

    // The transfer's handle has finished with libcurl's result code; it is no longer registered.
    virtual void transferCompleted(int curlCode) = 0;
    // When the transfer times out if nothing moves before then.
    virtual TimePoint idleDeadline() const = 0;
    // The deadline has passed; the transfer is no longer registered.
    virtual void idleDeadlinePassed() = 0;
    // The thread is stopping; the transfer is no longer registered.
    virtual void networkThreadStopping() = 0;
};

} // namespace net
