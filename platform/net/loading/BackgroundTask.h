// net::BackgroundTask: asks for time to finish work after the application leaves the foreground. A desktop
// process is never suspended, so the time never runs out: every call gets a new identifier, the expiration
// handler is never called (nor kept), and ending a task only retires its identifier. Any thread.
//
//   auto task = net::BackgroundTask::begin([] { /* never called on this platform */ });
//   net::BackgroundTask::end(task);
#pragma once

#include <cstdint>
#include <functional>

namespace net {

class BackgroundTask {
public:
    using Identifier = uint64_t;
    static constexpr Identifier Invalid = 0;

    static Identifier begin(const std::function<void()>& expirationHandler);
    static void end(Identifier identifier);
};

} // namespace net
