// net::NetworkThread: the one thread, named "Networking", on which every transfer of the process runs. It
// drives libcurl's multi interface: tasks posted from any thread run there in order, then the transfers
// move, then the thread blocks in curl_multi_poll until a socket is ready, a transfer's time-out falls due
// or a new task wakes it (curl_multi_wakeup). With nothing to do it blocks without a deadline and never
// spins. It starts on the first post and stops in order: stop() runs the tasks already posted, ends the
// transfers still running (their owners hear of a cancellation) and joins the thread; a later post starts
// it again. The process stops it at exit.
//
//   net::NetworkThread::shared().post([connection] { connection->start(); });
//   net::NetworkThread::shared().stop(); // tests, and at exit
#pragma once

#include "net/loading/NetworkTransfer.h"

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace net {

class NetworkThread {
public:
    using Task = std::function<void()>;

    static NetworkThread& shared();

    NetworkThread(const NetworkThread&) = delete;
    NetworkThread& operator=(const NetworkThread&) = delete;
    ~NetworkThread();

    // Any thread.
    void post(Task task);
    bool isCurrent() const;
    void stop();

    // Network thread. The transfer stays registered until one of its NetworkTransfer calls or removeTransfer.
    void addTransfer(CURL* easy, NetworkTransfer* transfer);
    void removeTransfer(CURL* easy);
    // Lets a paused transfer go on (its body has new bytes).
    void resumeTransfer(CURL* easy);

    // Test hooks: how often the thread has returned from its wait, and whether it is now blocked with
    // nothing to do (no task, no transfer, no deadline).
    uint64_t wakeUps() const { return m_wakeUps.load(); }
    bool isParked() const { return m_parked.load(); }

private:
    NetworkThread();
    void run();
    bool runPostedTasks();
    void collectCompletedTransfers();
    void expireIdleTransfers();
    int waitMilliseconds();
    int transferWaitMilliseconds();
    void abandonTransfers();

    mutable std::mutex m_mutex;
    std::deque<Task> m_tasks;
    bool m_running { false };
    bool m_stopRequested { false };
    // Set under m_mutex once the thread has found no task and is about to wait; a post wakes it only then.
    bool m_blocked { false };
    std::thread m_thread;
    std::atomic<std::thread::id> m_threadId;
    CURLM* m_multi { nullptr };

    std::unordered_map<CURL*, NetworkTransfer*> m_transfers;
    std::atomic<uint64_t> m_wakeUps { 0 };
    std::atomic<bool> m_parked { false };
};

} // namespace net
