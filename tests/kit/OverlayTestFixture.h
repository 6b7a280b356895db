// Shared set-up of the overlay and small-widget tests: the manual clock, the default screen, fixed text
// metrics, the event dispatcher as input handler and one key window of the screen's size; helpers to run
// turns and to move virtual time.
#pragma once

#include "base/time/ManualClock.h"
#include "base/loop/RunLoop.h"
#include "gfx/text/FixedTextMeasurer.h"
#include "ui/view/Application.h"
#include "ui/input/EventDispatcher.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

#include <gtest/gtest.h>
#include <memory>

namespace test {

class WidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = base::ManualClock::install();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        ui::Screen::main().setScale(2);
        ui::Application::shared().setInputHandler(std::make_shared<ui::EventDispatcher>());
        window = std::make_shared<ui::Window>();
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        window->setHidden(true);
        window.reset();
        ui::Application::shared().setInputHandler(nullptr);
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    // Runs the turn at the current virtual time (tasks due now, then layout and display).
    void turn() { clock->advance(base::Duration(0)); }
    void advance(double seconds) { clock->advance(base::Duration(seconds)); }

    gfx::TextMeasurer::Override fixedText { std::make_shared<gfx::FixedTextMeasurer>() };
    std::shared_ptr<base::ManualClock> clock;
    std::shared_ptr<ui::Window> window;
};

} // namespace test
