#include "ClockFixture.h"

#include "base/loop/BlockOperation.h"
#include "base/loop/DispatchQueue.h"
#include "base/loop/MainThread.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using base::BlockOperation;
using base::Operation;

namespace {

// Records every announced change with the value of the key at that moment: "will isExecuting=0".
struct ChangeLog {
    std::vector<std::string> changes;
    void watch(Operation& operation)
    {
        operation.addObserver([this](Operation& changed, std::string_view key, Operation::ChangePhase phase) {
            bool value = key == Operation::isReadyKey ? changed.isReady()
                : key == Operation::isExecutingKey    ? changed.isExecuting()
                : key == Operation::isFinishedKey     ? changed.isFinished()
                                                      : changed.isCancelled();
            changes.push_back(std::string(phase == Operation::ChangePhase::Will ? "will " : "did ") + std::string(key)
                + "=" + (value ? "1" : "0"));
        });
    }
};

using OperationTest = test::ManualClockTest;

TEST_F(OperationTest, StartAnnouncesEachChangeBeforeAndAfterIt)
{
    ChangeLog log;
    bool executingInMain = false;
    std::shared_ptr<BlockOperation> operation;
    operation = BlockOperation::make([&] { executingInMain = operation->isExecuting(); });
    log.watch(*operation);
    EXPECT_TRUE(operation->isReady());
    operation->start();
    EXPECT_TRUE(executingInMain);
    EXPECT_TRUE(operation->isFinished());
    EXPECT_EQ(log.changes,
        (std::vector<std::string> { "will isExecuting=0", "did isExecuting=1", "will isExecuting=1",
            "will isFinished=0", "did isExecuting=0", "did isFinished=1" }));

    log.changes.clear();
    operation->start();
    operation->cancel();
    EXPECT_TRUE(log.changes.empty()); // a finished operation neither restarts nor becomes cancelled
    EXPECT_FALSE(operation->isCancelled());
}

TEST_F(OperationTest, CancelledBeforeStartFinishesWithoutRunning)
{
    ChangeLog log;
    auto dependency = BlockOperation::make({});
    bool ran = false;
    auto operation = BlockOperation::make([&] { ran = true; });
    operation->addDependency(dependency);
    EXPECT_FALSE(operation->isReady());
    log.watch(*operation);

    operation->cancel();
    operation->cancel();
    EXPECT_TRUE(operation->isCancelled());
    EXPECT_TRUE(operation->isReady()); // no longer waits for its dependency
    operation->start();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(operation->isFinished());
    EXPECT_EQ(log.changes,
        (std::vector<std::string> { "will isReady=0", "will isCancelled=0", "did isCancelled=1", "did isReady=1",
            "will isFinished=0", "did isFinished=1" }));
}

TEST_F(OperationTest, DependentBecomesReadyWhenItsLastDependencyFinishes)
{
    auto first = BlockOperation::make({});
    auto second = BlockOperation::make({});
    bool ran = false;
    auto dependent = BlockOperation::make([&] { ran = true; });
    dependent->addDependency(first);
    dependent->addDependency(second);
    dependent->addDependency(second);
    EXPECT_EQ(dependent->dependencies().size(), 2u);

    dependent->start();
    EXPECT_FALSE(ran); // not ready: a start is ignored

    ChangeLog log;
    log.watch(*dependent);
    first->start();
    EXPECT_EQ(log.changes, (std::vector<std::string> { "will isReady=0", "did isReady=0" }));
    second->start();
    EXPECT_EQ(log.changes.back(), "did isReady=1");

    dependent->start();
    EXPECT_TRUE(ran);
}

TEST_F(OperationTest, RemovingTheUnfinishedDependencyMakesItReady)
{
    auto dependency = BlockOperation::make({});
    auto dependent = BlockOperation::make({});
    dependent->addDependency(dependency);
    dependent->removeDependency(dependency);
    EXPECT_TRUE(dependent->isReady());
    EXPECT_TRUE(dependent->dependencies().empty());
}

TEST_F(OperationTest, CompletionBlockRunsOnceOffTheMainThreadAfterFinishing)
{
    int completions = 0;
    bool finishedWhenCompleted = false;
    bool completedOffMain = false;
    std::shared_ptr<BlockOperation> operation = BlockOperation::make({});
    std::weak_ptr<BlockOperation> weak = operation;
    operation->setCompletionBlock([&, weak] {
        bool finished = weak.lock()->isFinished();
        bool offMain = !base::isMainThread();
        base::DispatchQueue::main()->async([&, finished, offMain] {
            ++completions;
            finishedWhenCompleted = finished;
            completedOffMain = offMain;
        });
    });
    operation->start();
    operation->waitUntilFinished();
    EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return completions > 0; }, 30s));
    EXPECT_TRUE(finishedWhenCompleted);
    EXPECT_TRUE(completedOffMain);
    clock->advance(0s);
    EXPECT_EQ(completions, 1);
}

TEST_F(OperationTest, CompletionBlockRunsOnTheThreadThatFinishesOffTheMainThread)
{
    std::thread::id completedOn;
    std::shared_ptr<BlockOperation> operation = BlockOperation::make({});
    operation->setCompletionBlock([&] { completedOn = std::this_thread::get_id(); });
    std::thread finisher([&] { operation->start(); });
    std::thread::id finisherId = finisher.get_id();
    finisher.join();
    EXPECT_EQ(completedOn, finisherId);
}

} // namespace
