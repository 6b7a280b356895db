#include "net/loading/NetworkThread.h"

#include "base/loop/DispatchQueue.h"

#include <algorithm>
#include <climits>
#include <pthread.h>
#include <vector>

namespace net {

namespace {

    // What a blocked thread waits for at most when nothing is due: a wake-up or a socket ends it long before.
    constexpr int IndefiniteWaitMilliseconds = INT_MAX;

} // namespace

NetworkThread& NetworkThread::shared()
{
    static NetworkThread thread;
    return thread;
}

NetworkThread::NetworkThread()
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    // The queues the transfers' owners post to must outlive this object, which joins the thread at exit.
    base::DispatchQueue::main();
    base::DispatchQueue::global();
}

NetworkThread::~NetworkThread() { stop(); }

void NetworkThread::post(Task task)
{
    std::lock_guard lock(m_mutex);
    m_tasks.push_back(std::move(task));
    if (!m_running) {
        m_multi = curl_multi_init();
        m_running = true;
        m_stopRequested = false;
        m_thread = std::thread([this] { run(); });
        return;
    }
    // A thread that is not blocked looks at its tasks before it blocks again: only a blocked one needs the
    // wake-up, and a running one spares both sides the system call and the extra return from its wait.
    if (m_blocked)
        curl_multi_wakeup(m_multi);
}

bool NetworkThread::isCurrent() const { return std::this_thread::get_id() == m_threadId.load(); }

void NetworkThread::stop()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_running)
            return;
        m_stopRequested = true;
        curl_multi_wakeup(m_multi);
    }
    m_thread.join();
    std::lock_guard lock(m_mutex);
    curl_multi_cleanup(m_multi);
    m_multi = nullptr;
    m_running = false;
    m_threadId = std::thread::id();
}

void NetworkThread::addTransfer(CURL* easy, NetworkTransfer* transfer)
{
    m_transfers[easy] = transfer;
    curl_multi_add_handle(m_multi, easy);
}

void NetworkThread::removeTransfer(CURL* easy)
{
    if (m_transfers.erase(easy))
        curl_multi_remove_handle(m_multi, easy);
}

void NetworkThread::resumeTransfer(CURL* easy)
{
    if (m_transfers.contains(easy))
        curl_easy_pause(easy, CURLPAUSE_CONT);
}

void NetworkThread::run()
{
    m_threadId = std::this_thread::get_id();
    pthread_setname_np(pthread_self(), "Networking");
    for (;;) {
        bool stopping = runPostedTasks();
        if (stopping) {
            abandonTransfers();
            return;
        }
        if (!m_transfers.empty()) {
            int running = 0;
            curl_multi_perform(m_multi, &running);
            collectCompletedTransfers();
            expireIdleTransfers();
        }
        int wait = waitMilliseconds();
        if (wait == 0)
            continue;
        m_parked = m_transfers.empty();
        curl_multi_poll(m_multi, nullptr, 0, wait, nullptr);
        {
            std::lock_guard lock(m_mutex);
            m_blocked = false;
        }
        m_parked = false;
        ++m_wakeUps;
    }
}

// Runs the tasks posted so far; tells whether the thread is asked to stop.
bool NetworkThread::runPostedTasks()
{
    std::deque<Task> tasks;
    bool stopping = false;
    {
        std::lock_guard lock(m_mutex);
        tasks.swap(m_tasks);
        stopping = m_stopRequested;
    }
    for (auto& task : tasks) {
        task();
        task = nullptr;
    }
    return stopping;
}

void NetworkThread::collectCompletedTransfers()
{
    int remaining = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &remaining)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL* easy = message->easy_handle;
        CURLcode result = message->data.result;
        auto found = m_transfers.find(easy);
        if (found == m_transfers.end())
            continue;
        NetworkTransfer* transfer = found->second;
        removeTransfer(easy);
        transfer->transferCompleted(result);
    }
}

void NetworkThread::expireIdleTransfers()
{
    auto now = std::chrono::steady_clock::now();
    std::vector<std::pair<CURL*, NetworkTransfer*>> expired;
    for (auto& [easy, transfer] : m_transfers) {
        if (transfer->idleDeadline() <= now)
            expired.emplace_back(easy, transfer);
    }
    for (auto& [easy, transfer] : expired) {
        // An earlier expiry may have ended this transfer already.
        if (m_transfers.contains(easy) && m_transfers[easy] == transfer) {
            removeTransfer(easy);
            transfer->idleDeadlinePassed();
        }
    }
}

// How long to block: no time when tasks wait, until libcurl's next timer or the nearest idle deadline
// while transfers run, and without a deadline when there is nothing at all. A thread that will wait counts
// as blocked from the moment it last finds no task: a task posted after that look wakes it (a wake-up
// before the wait ends the wait at once).
int NetworkThread::waitMilliseconds()
{
    int wait = transferWaitMilliseconds();
    std::lock_guard lock(m_mutex);
    if (!m_tasks.empty() || m_stopRequested)
        return 0;
    m_blocked = wait != 0;
    return wait;
}

int NetworkThread::transferWaitMilliseconds()
{
    if (m_transfers.empty())
        return IndefiniteWaitMilliseconds;
    long curlTimeout = -1;
    curl_multi_timeout(m_multi, &curlTimeout);
    long wait = curlTimeout < 0 ? IndefiniteWaitMilliseconds : curlTimeout;
    auto now = std::chrono::steady_clock::now();
    for (auto& [easy, transfer] : m_transfers) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(transfer->idleDeadline() - now).count();
        wait = std::min<long>(wait, std::max<long>(left, 0));
    }
    // curl_multi_poll treats 0 as "return at once", which is what a due timer needs; keep at least 1 ms
    // otherwise so that a deadline rounding to 0 does not spin.
    return static_cast<int>(std::clamp<long>(wait, curlTimeout == 0 ? 0 : 1, IndefiniteWaitMilliseconds));
}

void NetworkThread::abandonTransfers()
{
    auto transfers = m_transfers;
    for (auto& [easy, transfer] : transfers) {
        if (m_transfers.contains(easy)) {
            removeTransfer(easy);
            transfer->networkThreadStopping();
        }
    }
}

} // namespace net
