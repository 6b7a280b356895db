#include "base/loop/SerialDispatchQueue.h"

#include "base/loop/WorkerPool.h"

#include <cassert>
#include <utility>

namespace base {

namespace {

    // The serial queue whose block runs on this thread, to catch a sync call into the queue itself.
    thread_local const SerialDispatchQueue* currentQueue = nullptr;

} // namespace

SerialDispatchQueue::SerialDispatchQueue(std::string label)
    : DispatchQueue(std::move(label))
{
}

void SerialDispatchQueue::async(Block block)
{
    bool startDrain = false;
    {
        std::lock_guard lock(m_mutex);
        m_blocks.push_back(std::move(block));
        startDrain = !std::exchange(m_draining, true);
    }
    if (startDrain) {
        WorkerPool::shared().submit(
            [self = std::static_pointer_cast<SerialDispatchQueue>(shared_from_this())] { self->drain(); });
    }
}

void SerialDispatchQueue::sync(Block block)
{
    assert(currentQueue != this && "sync on a serial queue from one of its own blocks waits for itself");
    runAndWait([this](Block job) { async(std::move(job)); }, std::move(block));
}

void SerialDispatchQueue::drain()
{
    const SerialDispatchQueue* outer = std::exchange(currentQueue, this);
    for (;;) {
        Block block;
        {
            std::lock_guard lock(m_mutex);
            if (m_blocks.empty()) {
                m_draining = false;
                break;
            }
            block = std::move(m_blocks.front());
            m_blocks.pop_front();
        }
        block();
    }
    currentQueue = outer;
}

} // namespace base
