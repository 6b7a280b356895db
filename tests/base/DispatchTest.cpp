#include "ClockFixture.h"

#include "base/loop/Dispatch.h"
#include "base/loop/DispatchGroup.h"
#include "base/loop/DispatchQueue.h"
#include "base/loop/MainThread.h"

#include <atomic>
#include <gtest/gtest.h>
#include <sched.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using base::DispatchGroup;
using base::DispatchQueue;

namespace {

class DispatchTest : public test::ManualClockTest {
protected:
    bool runUntil(const std::function<bool()>& predicate) { return base::RunLoop::main().runUntil(predicate, 30s); }
};

TEST_F(DispatchTest, WorkHandedBackToTheMainQueueRunsOnTheMainThread)
{
    std::atomic<bool> onWorker = false;
    bool onMain = false;
    DispatchQueue::global()->async([&] {
        onWorker = !base::isMainThread();
        DispatchQueue::main()->async([&] { onMain = base::isMainThread(); });
    });
    EXPECT_TRUE(runUntil([&] { return onMain; }));
    EXPECT_TRUE(onWorker);
}

TEST_F(DispatchTest, BackgroundWorkYieldsToTheMainThread)
{
    // Every queue's work runs on the pool's threads, under the batch policy, while the main thread keeps its.
    std::atomic<int> workerPolicy = -1;
    bool done = false;
    DispatchQueue::makeSerial("policy")->async([&] {
        workerPolicy = sched_getscheduler(0);
        DispatchQueue::main()->async([&] { done = true; });
    });
    EXPECT_TRUE(runUntil([&] { return done; }));
    EXPECT_EQ(workerPolicy, SCHED_BATCH);
    EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);
}

TEST_F(DispatchTest, AfterWaitsForVirtualTimeOnEveryQueue)
{
    bool mainRan = false;
    std::atomic<bool> globalRan = false;
    DispatchQueue::main()->after(2s, [&] { mainRan = true; });
    DispatchQueue::global()->after(2s, [&] {
        globalRan = true;
        DispatchQueue::main()->async([] {});
    });
    clock->advance(1999ms);
    EXPECT_FALSE(mainRan);
    EXPECT_FALSE(globalRan);
    clock->advance(1ms);
    EXPECT_TRUE(mainRan);
    EXPECT_TRUE(runUntil([&] { return globalRan.load(); }));
}

TEST_F(DispatchTest, SerialQueueRunsOneBlockAtATimeInSubmissionOrder)
{
    auto queue = DispatchQueue::makeSerial("database.test");
    std::vector<int> order;
    std::atomic<int> inside = 0;
    std::atomic<bool> overlapped = false;
    std::vector<std::thread> submitters;
    for (int i = 0; i < 200; ++i) {
        queue->async([&, i] {
            if (++inside > 1)
                overlapped = true;
            order.push_back(i);
            --inside;
        });
    }
    // Blocks from other threads interleave, but never run at the same time as the ones above.
    for (int t = 0; t < 4; ++t)
        submitters.emplace_back([&] {
            queue->sync([&] {
                if (++inside > 1)
                    overlapped = true;
                --inside;
            });
        });
    for (auto& submitter : submitters)
        submitter.join();
    std::vector<int> seen;
    queue->sync([&] { seen = order; });
    ASSERT_EQ(seen.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(seen[i], i);
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(queue->label(), "database.test");
}

TEST_F(DispatchTest, MainQueueSyncFromAWorkerWaitsForTheMainLoop)
{
    int mainValue = 0;
    int valueSeenByWorker = 0;
    bool workerResumed = false;
    std::thread worker([&] {
        DispatchQueue::main()->sync([&] { mainValue = 42; });
        int seen = mainValue;
        DispatchQueue::main()->async([&, seen] {
            valueSeenByWorker = seen;
            workerResumed = true;
        });
    });
    EXPECT_TRUE(runUntil([&] { return workerResumed; }));
    worker.join();
    EXPECT_EQ(valueSeenByWorker, 42);

    bool ranInline = false;
    DispatchQueue::main()->sync([&] { ranInline = true; });
    EXPECT_TRUE(ranInline); // on the main thread it runs at once instead of waiting for itself
}

TEST_F(DispatchTest, GroupNotifiesOnceAfterEveryTaskHasLeft)
{
    auto group = DispatchGroup::make();
    std::atomic<int> done = 0;
    int doneWhenNotified = -1;
    int notifications = 0;
    for (int i = 0; i < 8; ++i)
        group->async(DispatchQueue::global(), [&] { ++done; });
    group->enter(); // a task that finishes on the main loop, later in virtual time
    DispatchQueue::main()->after(1s, [&] {
        ++done;
        group->leave();
    });
    group->notify(DispatchQueue::main(), [&] {
        doneWhenNotified = done;
        ++notifications;
    });
    group->notify(DispatchQueue::main(), [&] { ++notifications; });

    EXPECT_FALSE(base::RunLoop::main().runUntil([&] { return notifications > 0; }, 0s));
    clock->advance(1s);
    EXPECT_TRUE(runUntil([&] { return notifications == 2; }));
    EXPECT_EQ(doneWhenNotified, 9);
    group->wait();
}

TEST_F(DispatchTest, NotifyOnAnEmptyGroupRunsOnTheNextTurn)
{
    auto group = DispatchGroup::make();
    bool notified = false;
    group->notify(DispatchQueue::main(), [&] { notified = true; });
    EXPECT_FALSE(notified);
    clock->advance(0s);
    EXPECT_TRUE(notified);
}

TEST_F(DispatchTest, OnceRunsItsBlockOnceAcrossThreads)
{
    base::OnceFlag flag;
    std::atomic<int> runs = 0;
    auto group = DispatchGroup::make();
    for (int i = 0; i < 8; ++i)
        group->async(DispatchQueue::global(), [&] { base::dispatchOnce(flag, [&] { ++runs; }); });
    group->wait();
    EXPECT_EQ(runs, 1);
}

TEST_F(DispatchTest, DetachedThreadReportsBackThroughTheMainQueue)
{
    bool cleanedUp = false;
    base::detachNewThread([&] {
        bool offMain = !base::isMainThread();
        DispatchQueue::main()->async([&, offMain] { cleanedUp = offMain; });
    });
    EXPECT_TRUE(runUntil([&] { return cleanedUp; }));
}

} // namespace
