#include "ClockFixture.h"

#include "base/time/Timer.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace std::chrono_literals;
using base::Timer;

namespace {

using TimerTest = test::ManualClockTest;

struct Receiver {
    std::vector<double> firings;
};

TEST_F(TimerTest, RepeatingTimerFiresOncePerIntervalAtItsInstant)
{
    std::vector<double> firings;
    auto timer = Timer::scheduled(250ms, true, [&](Timer&) { firings.push_back(elapsed()); });
    clock->advance(1s);
    EXPECT_EQ(firings, (std::vector<double> { 0.25, 0.5, 0.75, 1.0 }));
    timer->invalidate();
    clock->advance(1s);
    EXPECT_EQ(firings.size(), 4u);
}

TEST_F(TimerTest, InvalidateInsideItsOwnFiringStopsItAndThenReleasesTheReceiver)
{
    auto receiver = std::make_shared<Receiver>();
    std::weak_ptr<Receiver> watch = receiver;
    bool receiverAliveAfterInvalidate = false;
    Timer::scheduled(100ms, true, [receiver, &watch, &receiverAliveAfterInvalidate, this](Timer& timer) {
        receiver->firings.push_back(elapsed());
        if (receiver->firings.size() == 3) {
            timer.invalidate();
            EXPECT_FALSE(timer.isValid());
            receiverAliveAfterInvalidate = !watch.expired() && receiver->firings.size() == 3;
        }
    });
    receiver.reset();
    EXPECT_FALSE(watch.expired()); // the scheduled timer keeps it

    clock->advance(1s);
    EXPECT_TRUE(receiverAliveAfterInvalidate);
    EXPECT_TRUE(watch.expired());
}

TEST_F(TimerTest, OneShotFiresOnceThenLetsGo)
{
    auto receiver = std::make_shared<Receiver>();
    std::weak_ptr<Receiver> watch = receiver;
    std::vector<double> firings;
    auto timer = Timer::scheduled(170ms, false, [receiver, &firings, this](Timer&) { firings.push_back(elapsed()); });
    receiver.reset();
    clock->advance(169ms);
    EXPECT_TRUE(firings.empty());
    EXPECT_TRUE(timer->isValid());
    clock->advance(1s);
    EXPECT_EQ(firings, (std::vector<double> { 0.17 }));
    EXPECT_FALSE(timer->isValid());
    EXPECT_TRUE(watch.expired());
}

TEST_F(TimerTest, InvalidatedBeforeFiringNeverFiresAndReleasesAtOnce)
{
    auto receiver = std::make_shared<Receiver>();
    std::weak_ptr<Receiver> watch = receiver;
    auto timer = Timer::scheduled(1s, false, [receiver](Timer&) { receiver->firings.push_back(1); });
    receiver.reset();
    timer->invalidate();
    EXPECT_TRUE(watch.expired());
    clock->advance(2s);
}

TEST_F(TimerTest, TimerDueWithAPerformKeepsSchedulingOrder)
{
    std::vector<int> order;
    base::RunLoop::main().performAfter(500ms, [&] { order.push_back(1); });
    auto timer = Timer::scheduled(500ms, false, [&](Timer&) { order.push_back(2); });
    base::RunLoop::main().performAfter(500ms, [&] { order.push_back(3); });
    clock->advance(500ms);
    EXPECT_EQ(order, (std::vector<int> { 1, 2, 3 }));
}

TEST_F(TimerTest, RepeatingTimerWithNoIntervalStillLetsTimeMove)
{
    int firings = 0;
    auto timer = Timer::scheduled(0s, true, [&](Timer&) { ++firings; });
    clock->advance(1ms);
    EXPECT_EQ(firings, 10);
    timer->invalidate();
}

} // namespace
