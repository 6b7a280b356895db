// Shared set-up of the view, layer and animation tests: the manual clock of base's fixture (no pending
// run-loop work left behind), the default screen and status bar, and helpers to run turns on virtual time.
#pragma once

#include "base/ClockFixture.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"

namespace test {

class UITest : public ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        ui::Screen::main().setScale(2);
        ui::Application::shared().setStatusBarHidden(false);
    }

    // Runs the turn at the current virtual time (tasks due now, then the end-of-turn passes).
    void turn() { clock->advance(base::Duration(0)); }
    void advance(double seconds) { clock->advance(base::Duration(seconds)); }
};

} // namespace test
