// A test on the manual clock: each test starts with a fresh manual clock installed and leaves no pending
// run-loop work (nor the manual clock) behind for the next one.
#pragma once

#include "base/time/ManualClock.h"
#include "base/loop/RunLoop.h"

#include <gtest/gtest.h>

namespace test {

class ManualClockTest : public ::testing::Test {
protected:
    void SetUp() override { clock = base::ManualClock::install(); }
    void TearDown() override
    {
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    // Virtual seconds since the test began.
    double elapsed() const { return base::Duration(clock->now().time_since_epoch()).count(); }

    std::shared_ptr<base::ManualClock> clock;
};

} // namespace test
