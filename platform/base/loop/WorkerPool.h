// base::WorkerPool: the process's pool of background threads behind the global concurrent queue, serial
// queues and operation queues. It starts a thread whenever a job arrives and no thread is idle (up to a hard
// limit), so that work which blocks (a synchronous call into a serial queue, a wait for a group) cannot starve
// the pool. Threads live for the whole process and wait idle between jobs. They run under the batch scheduling
// policy: a job handed over by the main thread waits for a free processor rather than taking the main
// thread's the moment it wakes. Any thread.
//
//   base::WorkerPool::shared().submit([] { compressRecording(); });
#pragma once

#include "base/loop/Task.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace base {

class WorkerPool {
public:
    static WorkerPool& shared();
    // The number of cores (at least 1): the width of "as many as the machine runs at once".
    static size_t machineWidth();

    void submit(Task job);

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

private:
    explicit WorkerPool(size_t maximumThreads);
    void work();

    std::mutex m_mutex;
    std::condition_variable m_jobArrived;
    std::deque<Task> m_jobs;
    size_t m_threads { 0 };
    size_t m_idle { 0 };
    const size_t m_maximumThreads;
};

} // namespace base
