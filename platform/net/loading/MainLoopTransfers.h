// net::MainLoopTransfers: runs every transfer of the process on the main run loop, with libcurl's multi
// handle driven by the loop's own poll: each socket libcurl uses is a watched descriptor of base::RunLoop::main(),
// and libcurl's timer, together with the transfers' idle deadlines, is a timerfd on the steady clock watched
// the same way. A web call thus costs no thread hop: its request goes out in the turn that starts it and its
// reply is read in the turn its socket wakes the loop, and the loop wakes only for that.
//
// Time: the timer runs in real time whatever clock the loop is given, so transfers time out in tests on the
// manual clock as they do in the application. A timeout libcurl wants run at once runs on the next turn.
// Frames: libcurl's work is bounded (at most 101 reads of its 16 KB buffer per call, and a turn calls it at
// most three times for a socket: ready, the run it asked for, its timer; the rest comes on later turns), so a
// long download never holds up a frame; what is heavy to make of a large body (parsing) is the caller's to
// move off the main thread.
//
// Main thread only. Nothing runs while there is no transfer: no socket is watched and the timer is idle
// (libcurl's kept-alive connections stay open but unwatched). stop() ends the running transfers (their owners
// hear of a cancellation) and closes the kept-alive connections; a later transfer starts afresh. The process
// stops it at exit.
//
//   net::MainLoopTransfers::shared().addTransfer(easy, this);  // NetworkTransfer calls follow on the main loop
//   net::MainLoopTransfers::shared().stop();                    // tests, and at exit
#pragma once

#include "base/loop/RunLoop.h"
#include "net/loading/NetworkTransfer.h"
#include "net/loading/TransferTable.h"

#include <curl/curl.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace net {

class MainLoopTransfers {
public:
    static MainLoopTransfers& shared();

    MainLoopTransfers(const MainLoopTransfers&) = delete;
    MainLoopTransfers& operator=(const MainLoopTransfers&) = delete;
    ~MainLoopTransfers();

    // The transfer stays registered until one of its NetworkTransfer calls or removeTransfer. Never from
    // within a libcurl callback.
    void addTransfer(CURL* easy, NetworkTransfer* transfer);
    void removeTransfer(CURL* easy);
    // Lets a paused transfer go on (its body has new bytes).
    void resumeTransfer(CURL* easy);
    void stop();

    // Test and benchmark hooks: the transfers running now, the sockets watched now, and how many socket and
    // timer events the loop has handed to libcurl.
    size_t transfersRunning() const { return m_transfers.size(); }
    size_t watchedSockets() const { return m_watchedSockets; }
    uint64_t eventsHandled() const { return m_eventsHandled; }

private:
    using TimePoint = NetworkTransfer::TimePoint;

    MainLoopTransfers();
    void startMulti();
    static int socketCallback(CURL*, curl_socket_t socket, int what, void* self, void*);
    static int timerCallback(CURLM*, long milliseconds, void* self);
    void watchSocket(curl_socket_t socket, int what);
    void socketReady(curl_socket_t socket, short revents);
    void timerFired();
    void runCurlTimeout();
    void collectCompletedTransfers();
    void expireIdleTransfers(TimePoint now);
    void armTimer();

    CURLM* m_multi { nullptr };
    TransferTable m_transfers;
    // The loop's watch of each socket libcurl uses, by descriptor (0: none): descriptors are small numbers, and
    // a connection's socket is watched anew for each call on it, so a look-up costs no hashing or allocation.
    std::vector<base::RunLoop::WatchId> m_socketWatches;
    size_t m_watchedSockets { 0 };
    int m_timerFd { -1 };
    base::RunLoop::WatchId m_timerWatch { 0 };
    // When libcurl wants its timeout run, and no later than when the earliest idle deadline may pass.
    std::optional<TimePoint> m_curlDue;
    std::optional<TimePoint> m_idleCheckDue;
    // What the timerfd is set to: it is set again only for something earlier (a late change fires early and
    // is set again then), which spares a system call on most calls.
    std::optional<TimePoint> m_armedFor;
    // The posted run of a timeout due at once, while it is pending.
    std::weak_ptr<base::RunLoop::ScheduledTask> m_immediateTimeout;
    bool m_adding { false };
    uint64_t m_eventsHandled { 0 };
};

} // namespace net
