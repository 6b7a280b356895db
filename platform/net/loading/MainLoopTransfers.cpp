#include "net/loading/MainLoopTransfers.h"

#include "base/loop/DispatchQueue.h"
#include "base/loop/MainThread.h"
#include "base/time/Clock.h"

#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace net {

namespace {

    // The kept-alive connections kept at most, whatever is running.
    constexpr long KeptConnections = 256;

    short pollEvents(int what)
    {
        switch (what) {
        case CURL_POLL_IN:
            return POLLIN;
        case CURL_POLL_OUT:
            return POLLOUT;
        case CURL_POLL_INOUT:
            return POLLIN | POLLOUT;
        }
        return 0;
    }

    int curlSelectBits(short revents)
    {
        int bits = 0;
        // A hang-up is read as such: libcurl learns of the closed connection from the read.
        if (revents & (POLLIN | POLLHUP))
            bits |= CURL_CSELECT_IN;
        if (revents & POLLOUT)
            bits |= CURL_CSELECT_OUT;
        if (revents & (POLLERR | POLLNVAL))
            bits |= CURL_CSELECT_ERR;
        return bits;
    }

} // namespace

MainLoopTransfers& MainLoopTransfers::shared()
{
    static MainLoopTransfers transfers;
    return transfers;
}

MainLoopTransfers::MainLoopTransfers()
    : m_timerFd(::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK))
{
    if (m_timerFd < 0) {
        std::perror("timerfd_create");
        std::abort();
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);
    // The queues the transfers' owners post to must outlive this object, which ends the transfers at exit.
    base::DispatchQueue::main();
    base::DispatchQueue::global();
}

MainLoopTransfers::~MainLoopTransfers()
{
    stop();
    ::close(m_timerFd);
}

void MainLoopTransfers::startMulti()
{
    m_multi = curl_multi_init();
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &MainLoopTransfers::socketCallback);
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &MainLoopTransfers::timerCallback);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
    // libcurl's own limit follows the number of transfers running, so the end of a burst would close the
    // connections the next burst opens again.
    curl_multi_setopt(m_multi, CURLMOPT_MAXCONNECTS, KeptConnections);
    m_timerWatch = base::RunLoop::main().watchDescriptor(m_timerFd, POLLIN, [this](short) { timerFired(); });
}

void MainLoopTransfers::addTransfer(CURL* easy, NetworkTransfer* transfer)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_multi)
        startMulti();
    m_transfers.add(easy, transfer);
    TimePoint deadline = transfer->idleDeadline();
    if (!m_idleCheckDue || deadline < *m_idleCheckDue) {
        m_idleCheckDue = deadline;
        armTimer();
    }
    // libcurl asks for its timeout at once for a new transfer: run here, the request goes out in this turn.
    m_adding = true;
    curl_multi_add_handle(m_multi, easy);
    m_adding = false;
    if (m_curlDue && *m_curlDue <= std::chrono::steady_clock::now())
        runCurlTimeout();
}

void MainLoopTransfers::removeTransfer(CURL* easy)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_transfers.remove(easy))
        curl_multi_remove_handle(m_multi, easy);
}

void MainLoopTransfers::resumeTransfer(CURL* easy)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_transfers.find(easy))
        curl_easy_pause(easy, CURLPAUSE_CONT);
}

void MainLoopTransfers::stop()
{
    if (!m_multi)
        return;
    BASE_ASSERT_MAIN_THREAD();
    for (auto& [easy, transfer] : m_transfers.entries()) {
        if (m_transfers.find(easy)) {
            removeTransfer(easy);
            transfer->transfersStopping();
        }
    }
    // Closes the kept-alive connections; libcurl may still report their sockets as it does.
    curl_multi_cleanup(m_multi);
    m_multi = nullptr;
    for (auto watch : m_socketWatches) {
        if (watch)
            base::RunLoop::main().unwatchDescriptor(watch);
    }
    m_socketWatches.clear();
    m_watchedSockets = 0;
    base::RunLoop::main().unwatchDescriptor(m_timerWatch);
    itimerspec disarmed {};
    ::timerfd_settime(m_timerFd, 0, &disarmed, nullptr);
    m_armedFor.reset();
    m_curlDue.reset();
    m_idleCheckDue.reset();
    if (auto pending = m_immediateTimeout.lock())
        base::RunLoop::main().cancel(pending);
}

// libcurl's callbacks.

int MainLoopTransfers::socketCallback(CURL*, curl_socket_t socket, int what, void* self, void*)
{
    static_cast<MainLoopTransfers*>(self)->watchSocket(socket, what);
    return 0;
}

void MainLoopTransfers::watchSocket(curl_socket_t socket, int what)
{
    if (socket < 0)
        return;
    auto index = static_cast<size_t>(socket);
    if (index >= m_socketWatches.size())
        m_socketWatches.resize(index + 1, 0);
    base::RunLoop::WatchId& watch = m_socketWatches[index];
    if (what == CURL_POLL_REMOVE) {
        if (watch) {
            base::RunLoop::main().unwatchDescriptor(std::exchange(watch, 0));
            --m_watchedSockets;
        }
        return;
    }
    if (watch) {
        base::RunLoop::main().changeWatchedEvents(watch, pollEvents(what));
        return;
    }
    watch = base::RunLoop::main().watchDescriptor(
        socket, pollEvents(what), [this, socket](short revents) { socketReady(socket, revents); });
    ++m_watchedSockets;
}

int MainLoopTransfers::timerCallback(CURLM*, long milliseconds, void* self)
{
    auto* transfers = static_cast<MainLoopTransfers*>(self);
    if (milliseconds < 0) {
        transfers->m_curlDue.reset();
        return 0;
    }
    transfers->m_curlDue = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    if (milliseconds > 0) {
        transfers->armTimer();
        return 0;
    }
    // Due at once: on the next turn, as libcurl may not be called back from within its own callback (a new
    // transfer runs it as soon as it is added).
    if (!transfers->m_adding && transfers->m_immediateTimeout.expired())
        transfers->m_immediateTimeout
            = base::RunLoop::main().performAfter(base::Duration::zero(), [transfers] { transfers->runCurlTimeout(); });
    return 0;
}

// Events of the loop.

void MainLoopTransfers::socketReady(curl_socket_t socket, short revents)
{
    if (!m_multi)
        return;
    ++m_eventsHandled;
    int running = 0;
    curl_multi_socket_action(m_multi, socket, curlSelectBits(revents), &running);
    collectCompletedTransfers();
}

void MainLoopTransfers::timerFired()
{
    uint64_t expirations = 0;
    [[maybe_unused]] auto read = ::read(m_timerFd, &expirations, sizeof expirations);
    m_armedFor.reset();
    if (!m_multi)
        return;
    ++m_eventsHandled;
    auto now = std::chrono::steady_clock::now();
    if (m_curlDue && *m_curlDue <= now)
        runCurlTimeout();
    if (m_idleCheckDue && *m_idleCheckDue <= now)
        expireIdleTransfers(now);
    armTimer();
}

void MainLoopTransfers::runCurlTimeout()
{
    if (!m_multi)
        return;
    m_curlDue.reset();
    int running = 0;
    curl_multi_socket_action(m_multi, CURL_SOCKET_TIMEOUT, 0, &running);
    collectCompletedTransfers();
}

void MainLoopTransfers::collectCompletedTransfers()
{
    int remaining = 0;
    while (m_multi) {
        CURLMsg* message = curl_multi_info_read(m_multi, &remaining);
        if (!message)
            return;
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL* easy = message->easy_handle;
        CURLcode result = message->data.result;
        NetworkTransfer* transfer = m_transfers.find(easy);
        if (!transfer)
            continue;
        removeTransfer(easy);
        transfer->transferCompleted(result);
    }
}

// Ends the transfers idle past their deadlines and finds the earliest deadline left (deadlines only move later
// as data arrives, so none passes before it).
void MainLoopTransfers::expireIdleTransfers(TimePoint now)
{
    std::vector<std::pair<CURL*, NetworkTransfer*>> expired;
    m_idleCheckDue.reset();
    for (auto& [easy, transfer] : m_transfers.entries()) {
        TimePoint deadline = transfer->idleDeadline();
        if (deadline <= now)
            expired.emplace_back(easy, transfer);
        else if (!m_idleCheckDue || deadline < *m_idleCheckDue)
            m_idleCheckDue = deadline;
    }
    for (auto& [easy, transfer] : expired) {
        // An earlier expiry may have ended this transfer already.
        if (m_transfers.find(easy) == transfer) {
            removeTransfer(easy);
            transfer->idleDeadlinePassed();
        }
    }
}

void MainLoopTransfers::armTimer()
{
    std::optional<TimePoint> due = m_idleCheckDue;
    if (m_curlDue && (!due || *m_curlDue < *due))
        due = m_curlDue;
    if (!due || (m_armedFor && *m_armedFor <= *due))
        return;
    itimerspec setting {};
    setting.it_value = base::toTimespec(due->time_since_epoch());
    // A zero value would disarm the timer rather than fire it.
    if (setting.it_value.tv_sec == 0 && setting.it_value.tv_nsec == 0)
        setting.it_value.tv_nsec = 1;
    ::timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME, &setting, nullptr);
    m_armedFor = due;
}

} // namespace net
