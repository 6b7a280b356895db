#include "base/loop/WorkerPool.h"

#include <algorithm>
#include <pthread.h>
#include <sched.h>
#include <thread>

namespace base {

WorkerPool& WorkerPool::shared()
{
    // Never destroyed: its threads may still be running jobs while the process exits.
    static WorkerPool* pool = new WorkerPool(std::max<size_t>(64, 4 * machineWidth()));
    return *pool;
}

size_t WorkerPool::machineWidth()
{
    // Asked on every operation-queue step; the system answers by reading a file each time, so ask it once.
    static const size_t width = std::max(1u, std::thread::hardware_concurrency());
    return width;
}

WorkerPool::WorkerPool(size_t maximumThreads)
    : m_maximumThreads(maximumThreads)
{
}

void WorkerPool::submit(Task job)
{
    bool addThread = false;
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        // Jobs already waiting will take the idle threads first.
        if (m_idle < m_jobs.size() && m_threads < m_maximumThreads) {
            ++m_threads;
            addThread = true;
        }
    }
    if (addThread)
        std::thread([this] { work(); }).detach();
    else
        m_jobArrived.notify_one();
}

void WorkerPool::work()
{
    // Background work yields to the main thread: a job handed over by the main thread does not take its
    // processor away from it the moment it wakes, but runs when that processor or another one is free.
    sched_param parameters {};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &parameters);
    std::unique_lock lock(m_mutex);
    for (;;) {
        ++m_idle;
        m_jobArrived.wait(lock, [this] { return !m_jobs.empty(); });
        --m_idle;
        auto job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        job();
        job = nullptr;
        lock.lock();
    }
}

} // namespace base
