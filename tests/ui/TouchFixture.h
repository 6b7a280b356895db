// Shared set-up of the touch, gesture and control tests: the manual clock, the event dispatcher as the
// application's input handler, and one key window of the screen's size that the tests fill with views.
#pragma once

#include "base/time/ManualClock.h"
#include "base/loop/RunLoop.h"
#include "ui/view/Application.h"
#include "ui/input/EventDispatcher.h"
#include "ui/input/TouchDriver.h"
#include "ui/view/Window.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace test {

// A view that writes down the touch phases it is sent ("began", "moved", "ended", "cancelled"), and
// forwards them as the base view does.
class RecordingView : public ui::View {
public:
    using ui::View::View;
    std::vector<std::string> phases;

    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override
    {
        phases.push_back("began");
        ui::View::touchesBegan(touches, event);
    }
    void touchesMoved(const ui::TouchSet& touches, const ui::Event* event) override
    {
        phases.push_back("moved");
        ui::View::touchesMoved(touches, event);
    }
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override
    {
        phases.push_back("ended");
        ui::View::touchesEnded(touches, event);
    }
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event* event) override
    {
        phases.push_back("cancelled");
        ui::View::touchesCancelled(touches, event);
    }
};

class TouchFixture : public testing::Test {
protected:
    void SetUp() override
    {
        clock = base::ManualClock::install();
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
    }

    template <typename T = RecordingView> std::shared_ptr<T> addView(const gfx::Rect& frame, ui::View* parent = nullptr)
    {
        auto view = std::make_shared<T>(frame);
        (parent ? parent : window.get())->addSubview(view);
        return view;
    }

    std::shared_ptr<base::ManualClock> clock;
    std::shared_ptr<ui::Window> window;
    ui::TouchDriver finger;
};

} // namespace test
