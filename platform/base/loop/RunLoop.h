// base::RunLoop: the one main run loop. It lives on the main thread and runs, turn by turn, the tasks posted to
// it from any thread, its timers and delayed performs, then the animation-tick observers and the end-of-turn
// observers (the UI's layout pass, then its display pass). A turn first calls the handlers of the watched file
// descriptors found ready (sockets, the window system's connection); between turns the loop blocks in poll on
// them and on an eventfd that posts from other threads signal. Work due at the same instant runs in the order it
// was scheduled; work scheduled during a turn, even with no delay, runs on a later turn, never at once.
// Time comes from the installed Clock: the application calls run(); tests drive a ManualClock with advance()
// and wait for replies from other threads with runUntil(). Tasks must not block: anything slow belongs on a
// dispatch queue, with only its result posted back here.
//
//   base::RunLoop::main().post([weak = weak_from_this()] { if (auto self = weak.lock()) self->reload(); });
//   base::RunLoop::main().performAfter(0.3s, [self = shared_from_this()] { self->hide(); }, this);
//   base::RunLoop::main().cancelPerforms(this); // drops the hide and releases the captured receiver
#pragma once

#include "base/loop/DescriptorPoller.h"
#include "base/loop/Task.h"
#include "base/time/Clock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace base {

class RunLoop {
public:
    using Task = base::Task;
    using TickObserver = std::function<void(Clock::TimePoint)>;
    struct ScheduledTask;
    using TaskHandle = std::shared_ptr<ScheduledTask>;
    using ObserverId = uint64_t;

    static RunLoop& main();

    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // Any thread. A task keeps what it captures alive until it has run or has been cancelled; captures are
    // released outside the loop's lock, so their destructors may schedule or cancel work.
    void post(Task task);
    // Runs `task` once `delay` has passed (0: on the next turn). `owner` is an identity for cancelPerforms,
    // usually the receiver's address; it is never dereferenced.
    TaskHandle performAfter(Duration delay, Task task, const void* owner = nullptr);
    TaskHandle performAt(Clock::TimePoint due, Task task, const void* owner = nullptr);
    // Cancels a task that has not run yet (also one due later in the current turn).
    void cancel(const TaskHandle& handle);
    void cancelPerforms(const void* owner);
    // Makes run() return after its current turn.
    void stop();
    // Main thread. Whether a task is due now, so that another turn follows this one at once.
    bool hasDueTask();
    // Main thread. Whether work waits for the next turn: a due task, or a watched descriptor ready now (a reply
    // to read). Looks at the descriptors without blocking; what it finds goes to the next turn's handlers.
    bool hasWaitingWork();

    // Main thread. Tick observers get the turn's instant; end-of-turn observers run in registration order.
    // An observer removed while observers are being called is not called afterwards.
    ObserverId addAnimationTickObserver(TickObserver observer);
    ObserverId addEndOfTurnObserver(Task observer);
    void removeObserver(ObserverId id);

    // Main thread. Watches a file descriptor for poll's `events` (POLLIN, POLLOUT; 0 pauses the watch): the
    // handler runs at the start of a turn with what poll reported, until the watch is removed. Readiness is
    // level-triggered, so a handler consumes what made its descriptor ready.
    using DescriptorHandler = DescriptorPoller::Handler;
    using WatchId = DescriptorPoller::WatchId;
    WatchId watchDescriptor(int fd, short events, DescriptorHandler handler);
    void changeWatchedEvents(WatchId id, short events);
    void unwatchDescriptor(WatchId id);

    // Main thread. Runs turns, waiting for work in between, until stop().
    void run();
    // Main thread. Runs turns at the current time of the clock until `predicate` holds, waiting in real
    // time up to `realLimit` for work posted from other threads (and, on the system clock, for timers).
    // A manual clock does not move. The predicate is checked after each turn, so other threads report
    // through posted tasks. Returns whether the predicate held; at least one turn always runs.
    [[nodiscard]] bool runUntil(const std::function<bool()>& predicate, Duration realLimit);
    // Main thread, manual clock installed. Moves time forward by `delay`, stopping at each instant where work
    // falls due and running it there, then runs a turn at the final instant.
    void advance(Duration delay);
    // Main thread. Drops every pending task, timer and perform (test tear-down; process shutdown).
    void cancelAllPendingWork();

private:
    RunLoop() = default;
    // The order work runs in: by due instant, then by scheduling order. A (due, sequence) key can be looked
    // up directly, so a turn resumes its walk where it left off.
    struct TaskKey {
        Clock::TimePoint due;
        uint64_t sequence;
    };
    struct Earlier {
        using is_transparent = void;
        bool operator()(const TaskHandle& a, const TaskHandle& b) const;
        bool operator()(const TaskHandle& a, const TaskKey& b) const;
        bool operator()(const TaskKey& a, const TaskHandle& b) const;
    };
    struct Observer;
    // A task posted with post(): it has no handle and no owner, so it is never cancelled alone and waits in a
    // plain queue, in posting order, instead of in the ordered set of timers.
    struct PostedTask {
        Clock::TimePoint due;
        uint64_t sequence;
        Task task;
    };

    void runTurn();
    // Moves out the task after `after` (or the first) that is due by `instant` and was scheduled before the
    // turn, with its key: the earlier of the pending set's and the posted queue's; false when the turn has no
    // more. The caller holds m_mutex.
    [[nodiscard]] bool takeNextOfTurnLocked(const std::optional<TaskKey>& after, Clock::TimePoint instant,
        uint64_t scheduledBeforeTurn, Task& task, TaskKey& taken);
    // Removes the posted task at the queue's head, which has been moved out; the caller holds m_mutex.
    void dropFirstPostedLocked();
    void notifyObservers(Clock::TimePoint turnInstant);
    ObserverId addObserver(std::shared_ptr<Observer> observer);
    // The earliest due instant of the pending set and the posted queue, if any work waits; the caller holds
    // m_mutex.
    std::optional<Clock::TimePoint> nextDueLocked() const;
    // Whether a task is due at the clock's current time; the caller holds m_mutex.
    bool hasDueTaskLocked(const Clock& clock) const;
    // Waits until work is due or posted, a watched descriptor is ready, stop() is called or the real deadline
    // passes; may return early. The caller holds m_mutex, which is released during the wait.
    void waitForWorkLocked(std::unique_lock<std::mutex>& lock, const Clock& clock,
        const std::chrono::steady_clock::time_point* realDeadline);
    // Called with m_mutex held after new work or a stop: whether the waiting loop must be woken (once per wait).
    bool needsWakeLocked();
    void callReadyDescriptorHandlers();

    std::mutex m_mutex;
    DescriptorPoller m_poller;
    bool m_waiting { false }; // guarded by m_mutex: the main thread is (about to be) blocked in the poller
    bool m_wakeSent { false }; // guarded by m_mutex: this wait has been woken already
    bool m_descriptorsPolled { false }; // main thread: the last wait looked at the descriptors
    std::set<TaskHandle, Earlier> m_pending;
    // Guarded by m_mutex: the posted tasks not yet run start at m_postedHead; the vector keeps its capacity
    // from burst to burst, so a post allocates nothing.
    std::vector<PostedTask> m_posted;
    size_t m_postedHead { 0 };
    uint64_t m_nextSequence { 0 };
    bool m_stopRequested { false };

    std::vector<std::shared_ptr<Observer>> m_observers;
    ObserverId m_nextObserverId { 1 };
};

} // namespace base
