// base::DescriptorPoller: how the main run loop waits. It blocks in ppoll on an eventfd, which wake() signals
// from any thread, and on the file descriptors watched through it (libcurl's sockets, the window system's
// connection), and keeps what poll reported until dispatchReady() hands it to the watches' handlers.
// Readiness is level-triggered: a handler that does not consume what made its descriptor ready is called
// again on the next turn.
//
//   auto id = poller.watch(fd, POLLIN, [](short revents) { drain(); });
//   poller.wait(deadline);      // main thread, caller's lock released
//   poller.dispatchReady();     // runs the handlers of the descriptors found ready
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct pollfd;

namespace base {

class DescriptorPoller {
public:
    using Handler = std::function<void(short revents)>;
    using WatchId = uint64_t;

    DescriptorPoller();
    ~DescriptorPoller();
    DescriptorPoller(const DescriptorPoller&) = delete;
    DescriptorPoller& operator=(const DescriptorPoller&) = delete;

    // Any thread: ends a wait in progress, or the next one at once.
    void wake();

    // Watching thread (the main thread). `events` are poll's (POLLIN, POLLOUT); 0 keeps the watch but
    // leaves the descriptor out of the wait. A watch removed while handlers are being called is not called
    // afterwards.
    WatchId watch(int fd, short events, Handler handler);
    void changeEvents(WatchId id, short events);
    void unwatch(WatchId id);
    bool hasWatches() const { return !m_watches.empty(); }

    // Watching thread. Blocks until wake(), a watched descriptor is ready or the deadline passes (none: no
    // deadline).
    void wait(const std::optional<std::chrono::steady_clock::time_point>& deadline);
    // Watching thread. Looks at the watched descriptors without blocking.
    void pollNow();
    // Watching thread. Calls the handlers of the descriptors the last wait or pollNow found ready, once.
    void dispatchReady();
    // Watching thread. Whether the last wait or pollNow found a descriptor ready that is not dispatched yet.
    bool hasReady() const { return !m_ready.empty(); }

private:
    struct Watch;
    void poll(const timespec* timeout, bool withWakeDescriptor);
    // Keeps a removed watch that nothing else holds for the next watch() to fill in.
    void keepForReuse(std::shared_ptr<Watch> entry);

    int m_wakeFd { -1 };
    std::vector<std::shared_ptr<Watch>> m_watches;
    std::vector<pollfd> m_pollSet;
    // The index in m_watches of each m_pollSet entry after the wake descriptor: the watches cannot change while
    // poll runs, and only the ready ones are held (in m_ready) past it.
    std::vector<size_t> m_polled;
    std::vector<std::pair<std::shared_ptr<Watch>, short>> m_ready;
    // The storage of the last dispatch's list, handed back to m_ready so that a turn allocates no list.
    std::vector<std::pair<std::shared_ptr<Watch>, short>> m_spareReady;
    // Watches removed while nothing else held them, made again by the next watch: a connection's socket is
    // watched anew for each call on it.
    std::vector<std::shared_ptr<Watch>> m_spareWatches;
    WatchId m_nextId { 1 };
};

} // namespace base
