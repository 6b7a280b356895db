#include "base/loop/OperationQueue.h"

#include "base/loop/BlockOperation.h"
#include "base/loop/WorkerPool.h"

#include <algorithm>
#include <utility>

namespace base {

void OperationQueue::addOperation(const std::shared_ptr<Operation>& operation)
{
    if (!operation || operation->isFinished() || !adopt(*operation))
        return;
    {
        std::lock_guard lock(m_mutex);
        m_entries.push_back({ operation, false });
        m_waiting.push_back(operation);
    }
    // It may have finished (cancelled, say) before it was in the list.
    if (operation->isFinished())
        removeFinished(*operation);
    startReadyOperations();
}

bool OperationQueue::adopt(Operation& operation)
{
    // The operation holds the queue: a queue with work lives until that work is done.
    {
        std::lock_guard lock(operation.m_mutex);
        if (operation.m_queue)
            return false;
        operation.m_queue = shared_from_this();
    }
    operation.m_inQueue.store(true, std::memory_order_release);
    return true;
}

void OperationQueue::addOperations(const std::vector<std::shared_ptr<Operation>>& operations, bool waitUntilFinished)
{
    for (auto& operation : operations)
        addOperation(operation);
    if (waitUntilFinished) {
        for (auto& operation : operations)
            operation->waitUntilFinished();
    }
}

void OperationQueue::addOperationWithBlock(Operation::Block block)
{
    addOperation(BlockOperation::make(std::move(block)));
}

std::vector<std::shared_ptr<Operation>> OperationQueue::operations() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::shared_ptr<Operation>> operations;
    for (auto& entry : m_entries)
        operations.push_back(entry.operation);
    return operations;
}

size_t OperationQueue::operationCount() const
{
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

int OperationQueue::maxConcurrentOperationCount() const
{
    std::lock_guard lock(m_mutex);
    return m_maxConcurrentOperationCount;
}

void OperationQueue::setMaxConcurrentOperationCount(int count)
{
    {
        std::lock_guard lock(m_mutex);
        m_maxConcurrentOperationCount = count;
    }
    startReadyOperations();
}

void OperationQueue::cancelAllOperations()
{
    for (auto& operation : operations())
        operation->cancel();
}

void OperationQueue::waitUntilAllOperationsAreFinished()
{
    std::unique_lock lock(m_mutex);
    m_emptied.wait(lock, [this] { return m_entries.empty(); });
}

void OperationQueue::operationChanged(Operation& operation, std::string_view keyPath)
{
    bool finished = keyPath == Operation::isFinishedKey;
    if (finished && operation.isFinished())
        removeFinished(operation);
    // An operation that is no longer ready (it has started, or waits for a new dependency) lets nothing start.
    bool readied = keyPath == Operation::isReadyKey && operation.isReady();
    if (finished || readied || keyPath == Operation::isCancelledKey)
        startReadyOperations();
}

void OperationQueue::removeFinished(Operation& operation)
{
    Entry removed;
    bool emptied = false;
    {
        std::lock_guard lock(m_mutex);
        auto found = std::find_if(m_entries.begin(), m_entries.end(),
            [&](const Entry& entry) { return entry.operation.get() == &operation; });
        if (found == m_entries.end())
            return;
        removed = std::move(*found);
        m_entries.erase(found);
        if (removed.started)
            --m_executing;
        else
            std::erase(m_waiting, removed.operation);
        emptied = m_entries.empty();
    }
    if (emptied)
        m_emptied.notify_all();
}

size_t OperationQueue::widthLocked() const
{
    if (m_maxConcurrentOperationCount < 0)
        return WorkerPool::machineWidth();
    return static_cast<size_t>(m_maxConcurrentOperationCount);
}

void OperationQueue::startReadyOperations()
{
    // The waiting list is walked from its front one operation at a time: the first one is nearly always
    // ready, so a start costs the same with two hundred operations waiting as with one. Each visit of the
    // lock settles the last candidate and picks the next one.
    size_t index = 0;
    std::shared_ptr<Operation> candidate;
    {
        std::lock_guard lock(m_mutex);
        // One thread starts operations at a time; a call meanwhile, also one from within an operation's start,
        // has that thread look again instead of nesting.
        if (m_starting) {
            m_lookAgain = true;
            return;
        }
        // Nothing can start: every change that lets one start calls again.
        if (m_executing >= widthLocked() || m_waiting.empty())
            return;
        m_starting = true;
        m_lookAgain = false;
        candidate = m_waiting.front();
    }
    for (;;) {
        // Readiness is asked with no lock held: an operation may announce changes while holding its own lock.
        // After a launch with nothing left to look at, the lock is visited once more for changes meanwhile.
        bool ready = candidate && candidate->isReady();
        std::shared_ptr<Operation> claimed;
        {
            std::lock_guard lock(m_mutex);
            if (ready)
                claimed = claimLocked(candidate, index);
            else if (candidate)
                ++index;
            candidate = nextCandidateLocked(index);
            if (!candidate && !claimed) {
                m_starting = false;
                return;
            }
        }
        if (claimed)
            launch(claimed);
    }
}

std::shared_ptr<Operation> OperationQueue::claimLocked(const std::shared_ptr<Operation>& candidate, size_t& index)
{
    auto waiting = std::find(m_waiting.begin(), m_waiting.end(), candidate);
    if (waiting == m_waiting.end() || m_executing >= widthLocked()) {
        // Gone meanwhile (finished, say) or no room: the walk starts over from the front.
        index = 0;
        return nullptr;
    }
    index = 0;
    m_waiting.erase(waiting);
    auto found = std::find_if(
        m_entries.begin(), m_entries.end(), [&](const Entry& entry) { return entry.operation == candidate; });
    found->started = true;
    ++m_executing;
    return candidate;
}

std::shared_ptr<Operation> OperationQueue::nextCandidateLocked(size_t& index)
{
    if (m_executing < widthLocked() && index < m_waiting.size())
        return m_waiting[index];
    // The end of the walk, unless something changed meanwhile that may let an operation start.
    if (!std::exchange(m_lookAgain, false) || m_executing >= widthLocked() || m_waiting.empty())
        return nullptr;
    index = 0;
    return m_waiting.front();
}

void OperationQueue::launch(const std::shared_ptr<Operation>& operation)
{
    // An asynchronous operation's start only sets its work going and returns: it needs no worker of its own.
    if (operation->isConcurrent())
        operation->start();
    else
        WorkerPool::shared().submit([operation] { operation->start(); });
}

} // namespace base
