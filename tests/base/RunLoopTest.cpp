#include "ClockFixture.h"

#include "base/loop/RunLoop.h"
#include "base/time/Date.h"

#include <atomic>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;
using base::RunLoop;

namespace {

class RunLoopTest : public test::ManualClockTest {
protected:
    void TearDown() override
    {
        for (auto id : observers)
            loop.removeObserver(id);
        ManualClockTest::TearDown();
    }
    RunLoop::ObserverId endOfTurn(RunLoop::Task observer)
    {
        return observers.emplace_back(loop.addEndOfTurnObserver(std::move(observer)));
    }
    RunLoop::ObserverId tick(RunLoop::TickObserver observer)
    {
        return observers.emplace_back(loop.addAnimationTickObserver(std::move(observer)));
    }

    RunLoop& loop = RunLoop::main();
    std::vector<RunLoop::ObserverId> observers;
    std::vector<std::string> events;
    auto record(std::string event)
    {
        return [this, event] { events.push_back(event); };
    }
};

TEST_F(RunLoopTest, WorkDueAtOneInstantRunsInSchedulingOrder)
{
    loop.performAfter(1s, record("a at 1"));
    loop.post(record("b now"));
    loop.performAfter(500ms, record("c at 0.5"));
    loop.performAfter(1s, record("d at 1"));
    loop.post(record("e now"));
    clock->advance(2s);
    EXPECT_EQ(events, (std::vector<std::string> { "b now", "e now", "c at 0.5", "a at 1", "d at 1" }));
}

TEST_F(RunLoopTest, DelayZeroRunsOnNextTurnNeverAtOnce)
{
    endOfTurn(record("end of turn"));
    loop.post([this] {
        events.push_back("first");
        loop.performAfter(0s, record("second"));
        events.push_back("first returns");
    });
    EXPECT_TRUE(events.empty());
    clock->advance(0s);
    EXPECT_EQ(events, (std::vector<std::string> { "first", "first returns", "end of turn", "second", "end of turn" }));
}

TEST_F(RunLoopTest, BurstPostedDuringATurnRunsInOrderOnTheNextTurn)
{
    constexpr int burst = 2000;
    endOfTurn(record("end of turn"));
    std::vector<std::string> expected { "a", "b", "c", "end of turn" };
    loop.post([&] {
        events.push_back("a");
        for (int i = 0; i < burst; ++i)
            loop.post(record("burst " + std::to_string(i)));
    });
    loop.post([&] {
        events.push_back("b");
        loop.post([&] {
            events.push_back("posted by b");
            loop.post(record("posted by a task of the second turn"));
        });
    });
    loop.post(record("c"));
    for (int i = 0; i < burst; ++i)
        expected.push_back("burst " + std::to_string(i));
    expected.insert(
        expected.end(), { "posted by b", "end of turn", "posted by a task of the second turn", "end of turn" });
    clock->advance(0s);
    EXPECT_EQ(events, expected);
}

TEST_F(RunLoopTest, AdvanceRunsEachTaskAtItsOwnInstant)
{
    base::Date start = base::Date::now();
    std::vector<double> seen;
    auto at = [&] { seen.push_back(elapsed()); };
    loop.performAfter(700ms, at);
    loop.performAfter(300ms, [&] {
        at();
        loop.performAfter(400ms, at); // 0.7, after the one scheduled earlier for 0.7
        loop.performAfter(800ms, at); // 1.1, beyond this advance
    });
    clock->advance(1s);
    EXPECT_EQ(seen, (std::vector<double> { 0.3, 0.7, 0.7 }));
    EXPECT_DOUBLE_EQ(base::Date::now().timeIntervalSinceDate(start), 1.0);
    clock->advance(100ms);
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_DOUBLE_EQ(seen.back(), 1.1);
}

TEST_F(RunLoopTest, CancelPerformsDropsOnlyThatOwnersWorkAndReleasesIt)
{
    auto receiver = std::make_shared<int>(7);
    std::weak_ptr<int> watch = receiver;
    int owner = 0;
    int otherOwner = 0;
    loop.performAfter(
        1s, [receiver, this] { events.push_back("cancelled one ran"); }, &owner);
    loop.performAfter(1s, record("other owner"), &otherOwner);
    loop.performAfter(2s, record("unowned"));
    receiver.reset();
    EXPECT_FALSE(watch.expired()); // the pending perform keeps its receiver

    loop.cancelPerforms(&owner);
    EXPECT_TRUE(watch.expired());
    clock->advance(3s);
    EXPECT_EQ(events, (std::vector<std::string> { "other owner", "unowned" }));
}

TEST_F(RunLoopTest, TaskCancelledByAnEarlierTaskOfTheSameTurnDoesNotRun)
{
    RunLoop::TaskHandle later;
    loop.performAfter(1s, [&] { loop.cancel(later); });
    later = loop.performAfter(1s, record("later"));
    clock->advance(1s);
    EXPECT_TRUE(events.empty());
}

TEST_F(RunLoopTest, OwnerCancelledByAnEarlierTaskOfTheSameTurnIsNotCalledBack)
{
    int screen = 0;
    loop.performAfter(1s, [&] {
        events.push_back("screen closes");
        loop.cancelPerforms(&screen);
    });
    loop.performAfter(1s, record("screen's pending step"), &screen);
    clock->advance(1s);
    EXPECT_EQ(events, (std::vector<std::string> { "screen closes" }));
}

TEST_F(RunLoopTest, TurnRunsTickObserversThenEndOfTurnObserversInRegistrationOrder)
{
    std::vector<double> ticks;
    endOfTurn(record("layout"));
    RunLoop::ObserverId display = endOfTurn(record("display"));
    tick([&](base::Clock::TimePoint instant) {
        ticks.push_back(base::Duration(instant.time_since_epoch()).count());
        events.push_back("tick");
    });
    loop.performAfter(250ms, record("task"));
    clock->advance(250ms);
    EXPECT_EQ(events, (std::vector<std::string> { "tick", "layout", "display", "task", "tick", "layout", "display" }));
    EXPECT_EQ(ticks, (std::vector<double> { 0, 0.25 }));

    // An observer removed by an earlier one is not called in that same turn.
    events.clear();
    tick([&](base::Clock::TimePoint) { loop.removeObserver(display); });
    clock->advance(0s);
    EXPECT_EQ(events, (std::vector<std::string> { "tick", "layout" }));
}

TEST_F(RunLoopTest, RunUntilWaitsForWorkPostedFromAnotherThread)
{
    std::atomic<bool> replied = false;
    std::thread network([&] { loop.post([&] { replied = true; }); });
    EXPECT_TRUE(loop.runUntil([&] { return replied.load(); }, 30s));
    network.join();
    EXPECT_EQ(elapsed(), 0.0); // the manual clock did not move
}

TEST_F(RunLoopTest, RunUntilRunsDueWorkButNeverMovesVirtualTime)
{
    loop.post(record("now"));
    loop.performAfter(1ms, record("later"));
    EXPECT_FALSE(loop.runUntil([] { return false; }, 0s));
    EXPECT_EQ(events, (std::vector<std::string> { "now" }));
}

TEST_F(RunLoopTest, RunReturnsAfterStopFromAnotherThread)
{
    std::thread stopper([&] {
        loop.post([&] {
            events.push_back("posted");
            std::thread([] { RunLoop::main().stop(); }).detach();
        });
    });
    loop.run();
    stopper.join();
    EXPECT_EQ(events, (std::vector<std::string> { "posted" }));
}

// A pipe watched by the main loop for reading; closed at the end of the test.
class WatchedPipe {
public:
    WatchedPipe()
    {
        if (::pipe(m_ends) != 0)
            ADD_FAILURE() << "pipe";
    }
    ~WatchedPipe()
    {
        ::close(m_ends[0]);
        ::close(m_ends[1]);
    }
    int readEnd() const { return m_ends[0]; }
    void write(char byte) const { EXPECT_EQ(::write(m_ends[1], &byte, 1), 1); }
    char read() const
    {
        char byte = 0;
        EXPECT_EQ(::read(m_ends[0], &byte, 1), 1);
        return byte;
    }

private:
    int m_ends[2] { -1, -1 };
};

TEST_F(RunLoopTest, AWatchedDescriptorWakesTheWaitingLoopAndItsHandlerRunsBeforeTheTurnsTasks)
{
    WatchedPipe pipe;
    std::string received;
    auto watch = loop.watchDescriptor(pipe.readEnd(), POLLIN, [&](short revents) {
        EXPECT_TRUE(revents & POLLIN);
        received += pipe.read();
        events.push_back("readable");
    });
    std::thread writer([&] { pipe.write('a'); });
    EXPECT_TRUE(loop.runUntil([&] { return !received.empty(); }, 30s));
    writer.join();

    // Ready while work is due: the handler runs first in the turn, and a loop that never waits still sees it.
    loop.post(record("task"));
    pipe.write('b');
    loop.advance(0s);
    EXPECT_EQ(received, "ab");
    EXPECT_EQ(events, (std::vector<std::string> { "readable", "readable", "task" }));
    loop.unwatchDescriptor(watch);
}

TEST_F(RunLoopTest, APausedOrRemovedWatchIsNotCalled)
{
    WatchedPipe pipe;
    int calls = 0;
    auto watch = loop.watchDescriptor(pipe.readEnd(), POLLIN, [&](short) { ++calls; });
    pipe.write('a');
    loop.changeWatchedEvents(watch, 0);
    loop.advance(0s);
    EXPECT_EQ(calls, 0);

    loop.unwatchDescriptor(watch);

    // Removed by an earlier handler of the same turn, after poll found both ready.
    RunLoop::WatchId later = 0;
    auto first = loop.watchDescriptor(pipe.readEnd(), POLLIN, [&](short) { loop.unwatchDescriptor(later); });
    later = loop.watchDescriptor(pipe.readEnd(), POLLIN, [&](short) { ++calls; });
    loop.advance(0s);
    EXPECT_EQ(calls, 0);
    loop.unwatchDescriptor(first);
}

using RunLoopDeathTest = RunLoopTest;

TEST_F(RunLoopDeathTest, DrivingTheLoopOffTheMainThreadFailsLoudly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(std::thread([] { RunLoop::main().advance(1s); }).join(), "must be called on the main thread");
}

} // namespace
