#include "base/loop/RunLoop.h"
#include "base/loop/RunLoopTasks.h"

#include "base/loop/MainThread.h"
#include "base/time/ManualClock.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

namespace base {

namespace {

    // Main thread only, as every turn is.
    bool mainLoopRunsTasks = false;

} // namespace

bool isRunningMainLoopTasks() { return mainLoopRunsTasks; }

struct RunLoop::ScheduledTask {
    Clock::TimePoint due;
    uint64_t sequence;
    const void* owner;
    Task task; // guarded by the loop's mutex while the task is pending
};

struct RunLoop::Observer {
    ObserverId id { 0 };
    TickObserver tick;
    Task endOfTurn;
    bool removed { false };
};

namespace {

    bool keyIsEarlier(Clock::TimePoint aDue, uint64_t aSequence, Clock::TimePoint bDue, uint64_t bSequence)
    {
        if (aDue != bDue)
            return aDue < bDue;
        return aSequence < bSequence;
    }

} // namespace

bool RunLoop::Earlier::operator()(const TaskHandle& a, const TaskHandle& b) const
{
    return keyIsEarlier(a->due, a->sequence, b->due, b->sequence);
}

bool RunLoop::Earlier::operator()(const TaskHandle& a, const TaskKey& b) const
{
    return keyIsEarlier(a->due, a->sequence, b.due, b.sequence);
}

bool RunLoop::Earlier::operator()(const TaskKey& a, const TaskHandle& b) const
{
    return keyIsEarlier(a.due, a.sequence, b->due, b->sequence);
}

RunLoop& RunLoop::main()
{
    // Never destroyed: tasks still pending at exit may capture objects whose destructors need the loop.
    static RunLoop* loop = new RunLoop;
    return *loop;
}

void RunLoop::post(Task task)
{
    Clock::TimePoint due = Clock::currentInstant();
    bool wake;
    {
        std::lock_guard lock(m_mutex);
        m_posted.push_back(PostedTask { due, m_nextSequence++, std::move(task) });
        wake = needsWakeLocked();
    }
    if (wake)
        m_poller.wake();
}

RunLoop::TaskHandle RunLoop::performAfter(Duration delay, Task task, const void* owner)
{
    return performAt(Clock::currentInstant() + Clock::ticks(delay), std::move(task), owner);
}

RunLoop::TaskHandle RunLoop::performAt(Clock::TimePoint due, Task task, const void* owner)
{
    auto handle = std::make_shared<ScheduledTask>();
    handle->due = due;
    handle->owner = owner;
    handle->task = std::move(task);
    bool wake;
    {
        std::lock_guard lock(m_mutex);
        handle->sequence = m_nextSequence++;
        m_pending.insert(handle);
        wake = needsWakeLocked();
    }
    if (wake)
        m_poller.wake();
    return handle;
}

void RunLoop::cancel(const TaskHandle& handle)
{
    if (!handle)
        return;
    Task released; // destroyed once the lock is released, as its captures may call back into the loop
    {
        std::lock_guard lock(m_mutex);
        auto found = m_pending.find(handle);
        if (found != m_pending.end() && *found == handle) {
            released = std::move(handle->task);
            m_pending.erase(found);
        }
    }
}

void RunLoop::cancelPerforms(const void* owner)
{
    if (!owner)
        return;
    std::vector<Task> released; // destroyed once the lock is released
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_pending.begin(); it != m_pending.end();) {
            if ((*it)->owner != owner) {
                ++it;
                continue;
            }
            released.push_back(std::move((*it)->task));
            it = m_pending.erase(it);
        }
    }
}

void RunLoop::cancelAllPendingWork()
{
    BASE_ASSERT_MAIN_THREAD();
    std::set<TaskHandle, Earlier> released; // destroyed once the lock is released
    std::vector<PostedTask> releasedPosts;
    {
        std::lock_guard lock(m_mutex);
        released.swap(m_pending);
        releasedPosts.swap(m_posted);
        m_postedHead = 0;
    }
}

void RunLoop::stop()
{
    bool wake;
    {
        std::lock_guard lock(m_mutex);
        m_stopRequested = true;
        wake = needsWakeLocked();
    }
    if (wake)
        m_poller.wake();
}

bool RunLoop::needsWakeLocked()
{
    if (!m_waiting || m_wakeSent)
        return false;
    m_wakeSent = true;
    return true;
}

RunLoop::WatchId RunLoop::watchDescriptor(int fd, short events, DescriptorHandler handler)
{
    BASE_ASSERT_MAIN_THREAD();
    return m_poller.watch(fd, events, std::move(handler));
}

void RunLoop::changeWatchedEvents(WatchId id, short events)
{
    BASE_ASSERT_MAIN_THREAD();
    m_poller.changeEvents(id, events);
}

void RunLoop::unwatchDescriptor(WatchId id)
{
    BASE_ASSERT_MAIN_THREAD();
    m_poller.unwatch(id);
}

void RunLoop::callReadyDescriptorHandlers()
{
    // A turn that did not follow a wait (work was already due) still looks at the descriptors, so that a
    // busy loop never starves them.
    if (!m_descriptorsPolled)
        m_poller.pollNow();
    m_descriptorsPolled = false;
    m_poller.dispatchReady();
}

RunLoop::ObserverId RunLoop::addAnimationTickObserver(TickObserver observer)
{
    auto entry = std::make_shared<Observer>();
    entry->tick = std::move(observer);
    return addObserver(std::move(entry));
}

RunLoop::ObserverId RunLoop::addEndOfTurnObserver(Task observer)
{
    auto entry = std::make_shared<Observer>();
    entry->endOfTurn = std::move(observer);
    return addObserver(std::move(entry));
}

RunLoop::ObserverId RunLoop::addObserver(std::shared_ptr<Observer> observer)
{
    BASE_ASSERT_MAIN_THREAD();
    observer->id = m_nextObserverId++;
    m_observers.push_back(observer);
    return observer->id;
}

void RunLoop::removeObserver(ObserverId id)
{
    BASE_ASSERT_MAIN_THREAD();
    std::erase_if(m_observers, [id](const std::shared_ptr<Observer>& observer) {
        if (observer->id != id)
            return false;
        observer->removed = true;
        return true;
    });
}

void RunLoop::notifyObservers(Clock::TimePoint turnInstant)
{
    auto observers = m_observers;
    for (auto& observer : observers) {
        if (observer->tick && !observer->removed)
            observer->tick(turnInstant);
    }
    for (auto& observer : observers) {
        if (observer->endOfTurn && !observer->removed)
            observer->endOfTurn();
    }
}

void RunLoop::runTurn()
{
    Clock::TimePoint instant = Clock::currentInstant();
    uint64_t scheduledBeforeTurn;
    {
        std::lock_guard lock(m_mutex);
        scheduledBeforeTurn = m_nextSequence;
    }
    // One task at a time, so that a task cancelling later ones of the same turn (by handle or by owner) is
    // obeyed; work scheduled during the turn waits for the next one. The walk resumes after the key of the
    // task that ran last: every task of this turn was pending when the turn began, so none can appear before
    // that key, and the work a burst of posts adds is not walked past again for each task.
    std::optional<TaskKey> ranLast;
    mainLoopRunsTasks = true;
    callReadyDescriptorHandlers();
    for (;;) {
        Task task;
        TaskKey taken;
        {
            std::lock_guard lock(m_mutex);
            if (!takeNextOfTurnLocked(ranLast, instant, scheduledBeforeTurn, task, taken))
                break;
        }
        ranLast = taken;
        // What the task captures is released when it returns, before the next task runs.
        task();
    }
    mainLoopRunsTasks = false;
    notifyObservers(instant);
}

bool RunLoop::takeNextOfTurnLocked(const std::optional<TaskKey>& after, Clock::TimePoint instant,
    uint64_t scheduledBeforeTurn, Task& task, TaskKey& taken)
{
    auto next = after ? m_pending.upper_bound(*after) : m_pending.begin();
    while (next != m_pending.end() && (*next)->due <= instant && (*next)->sequence >= scheduledBeforeTurn)
        ++next;
    bool timerDue = next != m_pending.end() && (*next)->due <= instant;
    if (m_postedHead < m_posted.size()) {
        PostedTask& posted = m_posted[m_postedHead];
        bool postedDue = posted.sequence < scheduledBeforeTurn && posted.due <= instant;
        if (postedDue && (!timerDue || keyIsEarlier(posted.due, posted.sequence, (*next)->due, (*next)->sequence))) {
            taken = { posted.due, posted.sequence };
            task = std::move(posted.task);
            dropFirstPostedLocked();
            return true;
        }
    }
    if (!timerDue)
        return false;
    taken = { (*next)->due, (*next)->sequence };
    task = std::move((*next)->task);
    m_pending.erase(next);
    return true;
}

void RunLoop::dropFirstPostedLocked()
{
    ++m_postedHead;
    if (m_postedHead == m_posted.size()) {
        m_posted.clear();
        m_postedHead = 0;
    } else if (m_postedHead >= 256 && m_postedHead * 2 >= m_posted.size()) {
        // Posts keep coming before the queue empties: the run part goes, so the queue stays bounded.
        m_posted.erase(m_posted.begin(), m_posted.begin() + static_cast<std::ptrdiff_t>(m_postedHead));
        m_postedHead = 0;
    }
}

std::optional<Clock::TimePoint> RunLoop::nextDueLocked() const
{
    std::optional<Clock::TimePoint> due;
    if (!m_pending.empty())
        due = (*m_pending.begin())->due;
    if (m_postedHead < m_posted.size() && (!due || m_posted[m_postedHead].due < *due))
        due = m_posted[m_postedHead].due;
    return due;
}

bool RunLoop::hasDueTask()
{
    BASE_ASSERT_MAIN_THREAD();
    std::lock_guard lock(m_mutex);
    return hasDueTaskLocked(*Clock::current());
}

bool RunLoop::hasWaitingWork()
{
    if (hasDueTask())
        return true;
    // Descriptors found ready by a wait or an earlier look and not yet dispatched are still waiting.
    if (m_descriptorsPolled && m_poller.hasReady())
        return true;
    m_poller.pollNow();
    if (!m_poller.hasReady())
        return false;
    // The next turn dispatches what this look found without looking again.
    m_descriptorsPolled = true;
    return true;
}

bool RunLoop::hasDueTaskLocked(const Clock& clock) const
{
    auto due = nextDueLocked();
    return due && *due <= clock.now();
}

void RunLoop::waitForWorkLocked(
    std::unique_lock<std::mutex>& lock, const Clock& clock, const std::chrono::steady_clock::time_point* realDeadline)
{
    std::optional<std::chrono::steady_clock::time_point> wakeAt;
    if (realDeadline)
        wakeAt = *realDeadline;
    // A clock that advances by itself reads steady time, so a timer's due instant is a real deadline too.
    if (clock.advancesByItself()) {
        auto due = nextDueLocked();
        if (due && (!wakeAt || *due < *wakeAt))
            wakeAt = *due;
    }
    m_waiting = true;
    m_wakeSent = false;
    lock.unlock();
    m_poller.wait(wakeAt);
    m_descriptorsPolled = true;
    lock.lock();
    m_waiting = false;
}

void RunLoop::run()
{
    BASE_ASSERT_MAIN_THREAD();
    for (;;) {
        runTurn();
        std::unique_lock lock(m_mutex);
        auto clock = Clock::current();
        if (!m_stopRequested && !hasDueTaskLocked(*clock))
            waitForWorkLocked(lock, *clock, nullptr);
        if (m_stopRequested) {
            m_stopRequested = false;
            return;
        }
    }
}

bool RunLoop::runUntil(const std::function<bool()>& predicate, Duration realLimit)
{
    BASE_ASSERT_MAIN_THREAD();
    auto realDeadline = std::chrono::steady_clock::now() + Clock::ticks(realLimit);
    for (;;) {
        runTurn();
        if (predicate())
            return true;
        std::unique_lock lock(m_mutex);
        auto clock = Clock::current();
        if (hasDueTaskLocked(*clock))
            continue;
        if (std::chrono::steady_clock::now() >= realDeadline)
            return false;
        waitForWorkLocked(lock, *clock, &realDeadline);
    }
}

void RunLoop::advance(Duration delay)
{
    BASE_ASSERT_MAIN_THREAD();
    auto clock = std::dynamic_pointer_cast<ManualClock>(Clock::current());
    if (!clock) {
        std::fprintf(stderr, "RunLoop::advance needs the manual clock installed\n");
        std::abort();
    }
    Clock::TimePoint target = clock->now() + Clock::ticks(delay);
    for (;;) {
        runTurn();
        std::optional<Clock::TimePoint> nextDue;
        {
            std::lock_guard lock(m_mutex);
            nextDue = nextDueLocked();
        }
        Clock::TimePoint now = clock->now();
        // A descriptor found ready at the end of the turn (a reply read next) is work due now as well.
        if ((nextDue && *nextDue <= now) || (m_descriptorsPolled && m_poller.hasReady()))
            continue;
        if (now >= target)
            return;
        clock->setNow(nextDue && *nextDue < target ? *nextDue : target);
    }
}

} // namespace base
