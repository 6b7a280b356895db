// base::Operation: a unit of work with a life cycle: ready (its dependencies have finished), executing,
// finished, and possibly cancelled. Observers hear of every change of "isReady", "isExecuting", "isFinished"
// and "isCancelled" twice: before it (ChangePhase::Will) and after it (ChangePhase::Did), on the thread that
// makes the change. The completion block runs once, after the operation has finished, on the thread that
// finished it, or on a worker thread when that is the main thread: finishing off the main thread costs no
// thread hop, and the main thread is never held up. It may thus run on a processing queue: it must not block.
//
// A plain operation overrides main(); start() runs it on the calling thread and finishes. An asynchronous one
// overrides start(), isExecuting(), isFinished() and isConcurrent(), keeps its own state and announces each
// change with willChangeValueForKey/didChangeValueForKey; it finishes later, from any thread. Operations are
// shared objects made with std::make_shared (dependencies and queues track them through weak references).
// Every method may be called from any thread; observers and overrides run with no lock of this class held.
//
//   auto upload = std::make_shared<UploadOperation>(file);
//   upload->addDependency(login);
//   upload->setCompletionBlock([weak = std::weak_ptr(upload)] { if (auto op = weak.lock()) report(*op); });
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

namespace base {

class OperationQueue;

class Operation : public std::enable_shared_from_this<Operation> {
public:
    static constexpr std::string_view isReadyKey = "isReady";
    static constexpr std::string_view isExecutingKey = "isExecuting";
    static constexpr std::string_view isFinishedKey = "isFinished";
    static constexpr std::string_view isCancelledKey = "isCancelled";

    enum class ChangePhase { Will, Did };
    using Observer = std::function<void(Operation& operation, std::string_view keyPath, ChangePhase phase)>;
    using ObserverId = uint64_t;
    using Block = std::function<void()>;

    Operation() = default;
    virtual ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    // Runs main() when the operation is ready and has not started; a cancelled operation finishes without
    // running it. A start before readiness, or a second start, does nothing.
    virtual void start();
    virtual void main() { }
    // Marks the operation cancelled (once, and not after it has finished). A cancelled operation no longer
    // waits for its dependencies, so that its queue can start it and let it finish at once.
    virtual void cancel();

    virtual bool isReady() const;
    virtual bool isExecuting() const;
    virtual bool isFinished() const;
    virtual bool isCancelled() const;
    // True for operations that finish after start() has returned.
    virtual bool isConcurrent() const { return false; }

    // Adding an operation twice, or the operation itself, does nothing.
    void addDependency(const std::shared_ptr<Operation>& operation);
    void removeDependency(const std::shared_ptr<Operation>& operation);
    std::vector<std::shared_ptr<Operation>> dependencies() const;

    Block completionBlock() const;
    virtual void setCompletionBlock(Block block);

    // Blocks the calling thread until the operation has announced that it finished.
    void waitUntilFinished();

    ObserverId addObserver(Observer observer);
    // An observer removed while observers are being told is not told afterwards.
    void removeObserver(ObserverId id);

protected:
    void willChangeValueForKey(std::string_view keyPath);
    // Besides telling the observers, a "did change" of isFinished with isFinished() true settles the operation:
    // waiters return and the completion block is submitted.
    void didChangeValueForKey(std::string_view keyPath);
    // Takes the completion block out (leaving none), for an operation that runs it itself.
    Block takeCompletionBlock();

private:
    friend class OperationQueue;
    enum class State { Pending, Executing, Finished };
    struct ObserverEntry {
        ObserverId id;
        Observer observer;
        std::atomic<bool> removed { false };
    };
    struct Dependency {
        std::shared_ptr<Operation> operation;
        ObserverId observerId;
    };

    void tellObservers(std::string_view keyPath, ChangePhase phase);
    // Tells the queue the operation was added to of a change that has happened, after the observers.
    void tellQueue(std::string_view keyPath);
    void settleFinished();
    void finishWithoutRunning();

    mutable std::mutex m_mutex;
    State m_state { State::Pending };
    bool m_startClaimed { false };
    bool m_cancelClaimed { false };
    // Both also read without the lock, as readiness is asked for on every start.
    std::atomic<bool> m_cancelled { false };
    std::atomic<bool> m_hasDependencies { false };
    std::vector<Dependency> m_dependencies;
    Block m_completionBlock;
    // Replaced (under the lock), never edited, when an observer comes or goes: telling the observers takes
    // the list by reference count, without the lock, instead of copying it on every change of state.
    using ObserverList = std::vector<std::shared_ptr<ObserverEntry>>;
    std::atomic<std::shared_ptr<const ObserverList>> m_observers;
    // Whether the list has anyone in it: most operations have no observer, and reading this costs no lock.
    std::atomic<bool> m_hasObservers { false };
    ObserverId m_nextObserverId { 1 };
    // The queue the operation was added to: set once (under m_mutex) before m_inQueue, never changed after,
    // and held until the operation goes, so that a change told on any thread reaches a live queue without a
    // lock. The queue hears of changes this way instead of through an observer of its own.
    std::shared_ptr<OperationQueue> m_queue;
    std::atomic<bool> m_inQueue { false };

    std::mutex m_settledMutex;
    std::condition_variable m_settledCondition;
    bool m_settled { false };
};

} // namespace base
