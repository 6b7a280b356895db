// Shared set-up of the view, layer and animation tests: a fresh manual clock, no pending run-loop work
// left behind, the default screen, and helpers to run turns and read virtual time.
#pragma once

#include "base/ManualClock.h"
#include "base/RunLoop.h"
#include "ui/Application.h"
#include "ui/Screen.h"

#include <gtest/gtest.h>

namespace test {

class UITest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = base::ManualClock::install();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        ui::Screen::main().setScale(2);
        ui::Application::shared().setStatusBarHidden(false);
    }
    void TearDown() override
    {
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    // Runs the turn at the current virtual time (tasks due now, then the end-of-turn passes).
    void turn() { clock->advance(base::Duration(0)); }
    void advance(double seconds) { clock->advance(base::Duration(seconds)); }

    std::shared_ptr<base::ManualClock> clock;
};

} // namespace test
