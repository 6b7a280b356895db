#include "base/loop/Operation.h"

#include "base/loop/MainThread.h"
#include "base/loop/OperationQueue.h"
#include "base/loop/WorkerPool.h"

#include <algorithm>

namespace base {

Operation::~Operation()
{
    for (auto& dependency : m_dependencies)
        dependency.operation->removeObserver(dependency.observerId);
}

void Operation::start()
{
    if (!isReady())
        return;
    {
        std::lock_guard lock(m_mutex);
        if (m_startClaimed || m_state != State::Pending)
            return;
        m_startClaimed = true;
    }
    if (isCancelled()) {
        finishWithoutRunning();
        return;
    }
    willChangeValueForKey(isExecutingKey);
    {
        std::lock_guard lock(m_mutex);
        m_state = State::Executing;
    }
    didChangeValueForKey(isExecutingKey);

    main();

    willChangeValueForKey(isExecutingKey);
    willChangeValueForKey(isFinishedKey);
    {
        std::lock_guard lock(m_mutex);
        m_state = State::Finished;
    }
    didChangeValueForKey(isExecutingKey);
    didChangeValueForKey(isFinishedKey);
}

void Operation::finishWithoutRunning()
{
    willChangeValueForKey(isFinishedKey);
    {
        std::lock_guard lock(m_mutex);
        m_state = State::Finished;
    }
    didChangeValueForKey(isFinishedKey);
}

void Operation::cancel()
{
    if (isFinished())
        return;
    {
        std::lock_guard lock(m_mutex);
        if (std::exchange(m_cancelClaimed, true))
            return;
    }
    // Until it starts, a cancelled operation stops waiting for its dependencies: its readiness changes too.
    bool waiting = !isExecuting() && !isFinished();
    if (waiting)
        willChangeValueForKey(isReadyKey);
    willChangeValueForKey(isCancelledKey);
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    didChangeValueForKey(isCancelledKey);
    if (waiting)
        didChangeValueForKey(isReadyKey);
}

bool Operation::isReady() const
{
    if (m_cancelled || !m_hasDependencies)
        return true;
    std::vector<std::shared_ptr<Operation>> waitingFor;
    {
        std::lock_guard lock(m_mutex);
        if (m_cancelled)
            return true;
        for (auto& dependency : m_dependencies)
            waitingFor.push_back(dependency.operation);
    }
    return std::all_of(waitingFor.begin(), waitingFor.end(), [](auto& operation) { return operation->isFinished(); });
}

bool Operation::isExecuting() const
{
    std::lock_guard lock(m_mutex);
    return m_state == State::Executing;
}

bool Operation::isFinished() const
{
    std::lock_guard lock(m_mutex);
    return m_state == State::Finished;
}

bool Operation::isCancelled() const { return m_cancelled; }

void Operation::addDependency(const std::shared_ptr<Operation>& operation)
{
    auto alreadyThere = [&] {
        return std::any_of(m_dependencies.begin(), m_dependencies.end(),
            [&](const Dependency& dependency) { return dependency.operation == operation; });
    };
    if (!operation || operation.get() == this)
        return;
    {
        std::lock_guard lock(m_mutex);
        if (alreadyThere())
            return;
    }
    // The dependency's finishing is this operation's change of readiness.
    ObserverId observerId = operation->addObserver(
        [weakSelf = weak_from_this()](Operation&, std::string_view keyPath, ChangePhase phase) {
            auto self = weakSelf.lock();
            if (!self || keyPath != isFinishedKey)
                return;
            if (phase == ChangePhase::Will)
                self->willChangeValueForKey(isReadyKey);
            else
                self->didChangeValueForKey(isReadyKey);
        });
    willChangeValueForKey(isReadyKey);
    bool added = false;
    {
        std::lock_guard lock(m_mutex);
        if (!alreadyThere()) {
            m_dependencies.push_back({ operation, observerId });
            m_hasDependencies = true;
            added = true;
        }
    }
    didChangeValueForKey(isReadyKey);
    if (!added)
        operation->removeObserver(observerId);
}

void Operation::removeDependency(const std::shared_ptr<Operation>& operation)
{
    auto matches = [&](const Dependency& dependency) { return dependency.operation == operation; };
    {
        std::lock_guard lock(m_mutex);
        if (std::none_of(m_dependencies.begin(), m_dependencies.end(), matches))
            return;
    }
    willChangeValueForKey(isReadyKey);
    std::vector<ObserverId> released;
    {
        std::lock_guard lock(m_mutex);
        for (auto& dependency : m_dependencies) {
            if (matches(dependency))
                released.push_back(dependency.observerId);
        }
        std::erase_if(m_dependencies, matches);
        m_hasDependencies = !m_dependencies.empty();
    }
    didChangeValueForKey(isReadyKey);
    for (ObserverId id : released)
        operation->removeObserver(id);
}

std::vector<std::shared_ptr<Operation>> Operation::dependencies() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::shared_ptr<Operation>> operations;
    for (auto& dependency : m_dependencies)
        operations.push_back(dependency.operation);
    return operations;
}

Operation::Block Operation::completionBlock() const
{
    std::lock_guard lock(m_mutex);
    return m_completionBlock;
}

Operation::Block Operation::takeCompletionBlock()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_completionBlock, nullptr);
}

void Operation::setCompletionBlock(Block block)
{
    std::lock_guard lock(m_mutex);
    m_completionBlock = std::move(block);
}

void Operation::waitUntilFinished()
{
    std::unique_lock lock(m_settledMutex);
    m_settledCondition.wait(lock, [this] { return m_settled; });
}

Operation::ObserverId Operation::addObserver(Observer observer)
{
    auto entry = std::make_shared<ObserverEntry>();
    entry->observer = std::move(observer);
    std::lock_guard lock(m_mutex);
    entry->id = m_nextObserverId++;
    auto current = m_observers.load();
    auto observers = current ? std::make_shared<ObserverList>(*current) : std::make_shared<ObserverList>();
    observers->push_back(entry);
    m_observers = std::move(observers);
    m_hasObservers.store(true, std::memory_order_release);
    return entry->id;
}

void Operation::removeObserver(ObserverId id)
{
    std::lock_guard lock(m_mutex);
    auto current = m_observers.load();
    if (!current)
        return;
    auto found = std::find_if(current->begin(), current->end(),
        [id](const std::shared_ptr<ObserverEntry>& entry) { return entry->id == id; });
    if (found == current->end())
        return;
    (*found)->removed = true;
    if (current->size() == 1) {
        m_observers.store(nullptr);
        m_hasObservers.store(false, std::memory_order_release);
        return;
    }
    auto observers = std::make_shared<ObserverList>(*current);
    observers->erase(observers->begin() + (found - current->begin()));
    m_observers = std::move(observers);
}

void Operation::willChangeValueForKey(std::string_view keyPath) { tellObservers(keyPath, ChangePhase::Will); }

void Operation::didChangeValueForKey(std::string_view keyPath)
{
    tellObservers(keyPath, ChangePhase::Did);
    tellQueue(keyPath);
    if (keyPath == isFinishedKey && isFinished())
        settleFinished();
}

void Operation::tellObservers(std::string_view keyPath, ChangePhase phase)
{
    if (!m_hasObservers.load(std::memory_order_acquire))
        return;
    auto observers = m_observers.load();
    if (!observers)
        return;
    for (auto& entry : *observers) {
        if (!entry->removed)
            entry->observer(*this, keyPath, phase);
    }
}

void Operation::tellQueue(std::string_view keyPath)
{
    if (!m_inQueue.load(std::memory_order_acquire))
        return;
    // Held for the call: the queue may let go of this operation, and the operation of its last reference.
    std::shared_ptr<OperationQueue> queue = m_queue;
    queue->operationChanged(*this, keyPath);
}

void Operation::settleFinished()
{
    {
        std::lock_guard lock(m_settledMutex);
        if (std::exchange(m_settled, true))
            return;
    }
    m_settledCondition.notify_all();
    Block completion = completionBlock();
    if (!completion)
        return;
    if (isMainThread())
        WorkerPool::shared().submit(std::move(completion));
    else
        completion();
}

} // namespace base
