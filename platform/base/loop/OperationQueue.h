// base::OperationQueue: runs operations as they become ready, in the order they were added, with at most
// maxConcurrentOperationCount of them executing at once (-1: as many as the machine has cores). A plain
// operation runs on a worker thread; an asynchronous one is started on the thread that finds it ready (its
// start only sets its work going) and holds its place until it announces that it finished. A queue stays alive while it
// holds operations (each operation added holds its queue until the operation goes); it lets go of each one once it
// has finished. Made with std::make_shared. Any thread.
//
//   auto queue = std::make_shared<base::OperationQueue>();
//   queue->setMaxConcurrentOperationCount(2);
//   queue->addOperations({ first, second }, false);
#pragma once

#include "base/loop/Operation.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace base {

class OperationQueue : public std::enable_shared_from_this<OperationQueue> {
public:
    static constexpr int defaultMaxConcurrentOperationCount = -1;

    OperationQueue() = default;
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    // The operation must not be in a queue already; one that has finished is not added.
    void addOperation(const std::shared_ptr<Operation>& operation);
    void addOperations(const std::vector<std::shared_ptr<Operation>>& operations, bool waitUntilFinished);
    void addOperationWithBlock(Operation::Block block);

    // The operations not yet finished, in the order they were added.
    std::vector<std::shared_ptr<Operation>> operations() const;
    size_t operationCount() const;

    int maxConcurrentOperationCount() const;
    void setMaxConcurrentOperationCount(int count);

    void cancelAllOperations();
    // Blocks the calling thread until every operation added so far, and any added meanwhile, has finished.
    void waitUntilAllOperationsAreFinished();

private:
    friend class Operation;
    struct Entry {
        std::shared_ptr<Operation> operation;
        bool started { false };
    };

    // Makes this queue the one the operation tells of its changes; false when it is in a queue already.
    bool adopt(Operation& operation);

    void operationChanged(Operation& operation, std::string_view keyPath);
    void removeFinished(Operation& operation);
    void startReadyOperations();
    // Takes a ready candidate off the waiting list and marks it started, if it still waits and the width allows
    // one more; either way the walk goes back to the front (index 0). The caller holds m_mutex.
    std::shared_ptr<Operation> claimLocked(const std::shared_ptr<Operation>& candidate, size_t& index);
    // The operation at `index` of the walk, or, past the end, the front again when a change was announced
    // meanwhile; null when nothing can start. The caller holds m_mutex.
    std::shared_ptr<Operation> nextCandidateLocked(size_t& index);
    void launch(const std::shared_ptr<Operation>& operation);
    size_t widthLocked() const;

    mutable std::mutex m_mutex;
    std::condition_variable m_emptied;
    // In the order added; a deque, as the operations that finish and those that start are near its front.
    std::deque<Entry> m_entries;
    // The operations not yet started, in the order they were added.
    std::deque<std::shared_ptr<Operation>> m_waiting;
    size_t m_executing { 0 };
    bool m_starting { false };
    bool m_lookAgain { false };
    int m_maxConcurrentOperationCount { defaultMaxConcurrentOperationCount };
};

} // namespace base
