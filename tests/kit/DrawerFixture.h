// Shared set-up of the drawer tests: the manual clock, a 320 x 568 screen at scale 2, the event dispatcher,
// one key window holding the container's view, and controllers that write their appearance and containment
// callbacks into one log.
#pragma once

#include "base/time/ManualClock.h"
#include "base/loop/RunLoop.h"
#include "kit/drawer/DrawerCenterContainerView.h"
#include "kit/drawer/DrawerController.h"
#include "ui/view/Application.h"
#include "ui/input/EventDispatcher.h"
#include "ui/view/Screen.h"
#include "ui/input/TouchDriver.h"
#include "ui/view/View.h"
#include "ui/controllers/ViewController.h"
#include "ui/view/Window.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace test {

using Log = std::vector<std::string>;

// Writes "<name>.<callback>" for each appearance callback and for didMove (with "self" or "nil").
class LoggingController : public ui::ViewController {
public:
    LoggingController(std::string name, std::shared_ptr<Log> log)
        : m_name(std::move(name))
        , m_log(std::move(log))
    {
    }
    void viewWillAppear(bool) override { m_log->push_back(m_name + ".willAppear"); }
    void viewDidAppear(bool) override { m_log->push_back(m_name + ".didAppear"); }
    void viewWillDisappear(bool) override { m_log->push_back(m_name + ".willDisappear"); }
    void viewDidDisappear(bool) override { m_log->push_back(m_name + ".didDisappear"); }
    void didMoveToParentViewController(const std::shared_ptr<ui::ViewController>& parent) override
    {
        m_log->push_back(m_name + (parent ? ".didMove" : ".didMoveNil"));
    }
    void willRotateToInterfaceOrientation(ui::InterfaceOrientation, double) override
    {
        m_log->push_back(m_name + ".willRotate");
    }
    void didRotateFromInterfaceOrientation(ui::InterfaceOrientation) override
    {
        m_log->push_back(m_name + ".didRotate");
    }

private:
    std::string m_name;
    std::shared_ptr<Log> m_log;
};

// Records each completion's flag and when it came.
struct CompletionRecord {
    std::vector<bool> flags;
    std::vector<double> times;
};

class DrawerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = base::ManualClock::install();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        ui::Screen::main().setScale(2);
        ui::Application::shared().setInputHandler(std::make_shared<ui::EventDispatcher>());
        window = std::make_shared<ui::Window>();
        window->makeKeyAndVisible();
        log = std::make_shared<Log>();
        center = std::make_shared<LoggingController>("center", log);
        left = std::make_shared<LoggingController>("left", log);
        right = std::make_shared<LoggingController>("right", log);
    }

    void TearDown() override
    {
        // Running animations hold their completions, and those the container: let them end.
        advance(5);
        window->setHidden(true);
        window.reset();
        drawer.reset();
        ui::Application::shared().setInputHandler(nullptr);
        base::RunLoop::main().cancelAllPendingWork();
        base::Clock::install(base::Clock::system());
    }

    // A container in the window with a 260-point left drawer (and a right one when asked); the log starts
    // empty after it is shown.
    void makeDrawer(bool withRight = false)
    {
        drawer = kit::DrawerController::make(nullptr, left, withRight ? right : nullptr);
        drawer->view()->setFrame(window->bounds());
        window->addSubview(drawer->view());
        drawer->setCenterViewController(center);
        drawer->setMaximumLeftDrawerWidth(260);
        turn();
        log->clear();
    }

    std::function<void(bool)> recorder(CompletionRecord& record)
    {
        return [this, &record](bool finished) {
            record.flags.push_back(finished);
            record.times.push_back(elapsed());
        };
    }

    double centerX() const { return drawer->centerContainerView()->frame().minX(); }
    void turn() { clock->advance(base::Duration(0)); }
    void advance(double seconds) { clock->advance(base::Duration(seconds)); }
    double elapsed() const { return base::Duration(clock->now().time_since_epoch()).count() - m_start; }
    void resetElapsed() { m_start = base::Duration(clock->now().time_since_epoch()).count(); }

    std::shared_ptr<base::ManualClock> clock;
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<Log> log;
    std::shared_ptr<LoggingController> center;
    std::shared_ptr<LoggingController> left;
    std::shared_ptr<LoggingController> right;
    std::shared_ptr<kit::DrawerController> drawer;
    ui::TouchDriver finger;

private:
    double m_start { 0 };
};

} // namespace test
