#include "ClockFixture.h"

#include "base/loop/BlockOperation.h"
#include "base/loop/DispatchQueue.h"
#include "base/loop/OperationQueue.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

using namespace std::chrono_literals;
using base::BlockOperation;
using base::Operation;
using base::OperationQueue;

namespace {

// An asynchronous operation: start() only marks it executing; the test finishes it later from the main thread.
class ManuallyFinishedOperation : public Operation {
public:
    std::atomic<bool> started = false;

    void start() override
    {
        willChangeValueForKey(isExecutingKey);
        m_executing = true;
        didChangeValueForKey(isExecutingKey);
        started = true;
        base::DispatchQueue::main()->async([] {});
    }
    void finish()
    {
        willChangeValueForKey(isExecutingKey);
        willChangeValueForKey(isFinishedKey);
        m_executing = false;
        m_finished = true;
        didChangeValueForKey(isExecutingKey);
        didChangeValueForKey(isFinishedKey);
    }
    bool isExecuting() const override { return m_executing; }
    bool isFinished() const override { return m_finished; }
    bool isConcurrent() const override { return true; }

private:
    std::atomic<bool> m_executing = false;
    std::atomic<bool> m_finished = false;
};

// Operations that wait at a gate, counting how many execute at once.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    int executing = 0;
    int mostExecuting = 0;

    std::shared_ptr<BlockOperation> operation()
    {
        return BlockOperation::make([this] {
            std::unique_lock lock(mutex);
            mostExecuting = std::max(mostExecuting, ++executing);
            changed.notify_all();
            changed.wait(lock, [this] { return open; });
            --executing;
        });
    }
    // Waits for `count` operations at the gate; the limit only ends a failing test.
    bool waitForExecuting(int count)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 30s, [&] { return executing == count; });
    }
    void release()
    {
        std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
};

struct Recorder {
    std::mutex mutex;
    std::vector<int> order;
    std::shared_ptr<BlockOperation> operation(int id)
    {
        return BlockOperation::make([this, id] {
            std::lock_guard lock(mutex);
            order.push_back(id);
        });
    }
};

using OperationQueueTest = test::ManualClockTest;

TEST_F(OperationQueueTest, DependenciesOrderWorkWhateverTheOrderOfAdding)
{
    Recorder recorder;
    auto a = recorder.operation(1);
    auto b = recorder.operation(2);
    auto c = recorder.operation(3);
    c->addDependency(b);
    b->addDependency(a);
    auto queue = std::make_shared<OperationQueue>();
    queue->addOperations({ c, b, a }, true);
    EXPECT_EQ(recorder.order, (std::vector<int> { 1, 2, 3 }));
    EXPECT_EQ(queue->operationCount(), 0u);
}

TEST_F(OperationQueueTest, OneAtATimeRunsInTheOrderOfAdding)
{
    Recorder recorder;
    auto queue = std::make_shared<OperationQueue>();
    queue->setMaxConcurrentOperationCount(1);
    std::vector<int> expected;
    for (int i = 0; i < 40; ++i) {
        queue->addOperation(recorder.operation(i));
        expected.push_back(i);
    }
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(recorder.order, expected);
}

TEST_F(OperationQueueTest, NeverExecutesMoreThanTheMaximumAtOnce)
{
    Gate gate;
    auto queue = std::make_shared<OperationQueue>();
    EXPECT_EQ(queue->maxConcurrentOperationCount(), -1);
    queue->setMaxConcurrentOperationCount(2);
    std::vector<std::shared_ptr<Operation>> added;
    for (int i = 0; i < 6; ++i)
        added.push_back(gate.operation());
    queue->addOperations(added, false);
    ASSERT_TRUE(gate.waitForExecuting(2));
    EXPECT_EQ(queue->operations(), added);
    gate.release();
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(gate.mostExecuting, 2);
}

TEST_F(OperationQueueTest, AsynchronousOperationHoldsItsPlaceUntilItFinishes)
{
    auto queue = std::make_shared<OperationQueue>();
    queue->setMaxConcurrentOperationCount(1);
    auto transfer = std::make_shared<ManuallyFinishedOperation>();
    std::atomic<bool> nextRan = false;
    queue->addOperation(transfer);
    queue->addOperationWithBlock([&] { nextRan = true; });
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return transfer->started.load(); }, 30s));
    EXPECT_TRUE(transfer->isExecuting());
    EXPECT_FALSE(nextRan);
    EXPECT_EQ(queue->operationCount(), 2u);

    transfer->finish();
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(nextRan);
}

TEST_F(OperationQueueTest, AQueueItsOwnerDroppedRunsItsWorkToTheEndAndAnOperationJoinsOneQueueOnly)
{
    auto queue = std::make_shared<OperationQueue>();
    queue->setMaxConcurrentOperationCount(1);
    auto transfer = std::make_shared<ManuallyFinishedOperation>();
    std::atomic<int> nextRuns = 0;
    auto next = BlockOperation::make([&] { ++nextRuns; });
    queue->addOperations({ transfer, next }, false);
    auto other = std::make_shared<OperationQueue>();
    other->addOperation(next);
    EXPECT_EQ(other->operationCount(), 0u);
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return transfer->started.load(); }, 30s));
    std::weak_ptr<OperationQueue> dropped = queue;
    queue.reset();
    EXPECT_FALSE(dropped.expired());

    transfer->finish();
    next->waitUntilFinished();
    EXPECT_EQ(nextRuns, 1);
    EXPECT_EQ(dropped.lock()->operationCount(), 0u);
}

TEST_F(OperationQueueTest, CancelAllOperationsFinishesWaitingOnesWithoutRunningThem)
{
    Gate gate;
    Recorder recorder;
    auto queue = std::make_shared<OperationQueue>();
    queue->setMaxConcurrentOperationCount(1);
    auto running = gate.operation();
    auto unfinishedDependency = BlockOperation::make({});
    auto waiting = recorder.operation(1);
    auto blocked = recorder.operation(2);
    blocked->addDependency(unfinishedDependency);
    queue->addOperations({ running, waiting, blocked }, false);
    ASSERT_TRUE(gate.waitForExecuting(1));

    queue->cancelAllOperations();
    gate.release();
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(recorder.order.empty());
    for (auto& operation : { running, waiting, blocked }) {
        EXPECT_TRUE(operation->isCancelled());
        EXPECT_TRUE(operation->isFinished());
    }
    EXPECT_FALSE(unfinishedDependency->isFinished());
}

TEST_F(OperationQueueTest, BatchCompletionRunsOnTheMainQueueAfterEveryOperation)
{
    auto queue = std::make_shared<OperationQueue>();
    std::atomic<int> finished = 0;
    int finishedAtBatchEnd = -1;
    auto batch = BlockOperation::make([&] {
        int count = finished;
        base::DispatchQueue::main()->async([&, count] { finishedAtBatchEnd = count; });
    });
    std::vector<std::shared_ptr<Operation>> requests;
    for (int i = 0; i < 5; ++i) {
        requests.push_back(BlockOperation::make([&] { ++finished; }));
        batch->addDependency(requests.back());
    }
    queue->addOperations(requests, false);
    queue->addOperation(batch);
    EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return finishedAtBatchEnd >= 0; }, 30s));
    EXPECT_EQ(finishedAtBatchEnd, 5);
}

} // namespace
