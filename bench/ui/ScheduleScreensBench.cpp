// Full 640 x 1136 pixel frames of the class schedule's screens as the hosts draw them (the passes, then the
// whole window tree composited; views redraw only when they change): the timetable grid with its header and
// course buttons, the course entry over it, and the class-period screen with its picker panel raised.
#include "SignedInScene.h"

#include "base/loop/RunLoop.h"
#include "childcare/schedule/ClassScheduleVC.h"
#include "childcare/schedule/ClassTimeSetVC.h"
#include "childcare/schedule/CourseButton.h"
#include "core/state/Singleton.h"
#include "ui/controllers/NavigationController.h"
#include "ui/scroll/TableView.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using namespace std::chrono_literals;

// Five days of eight lessons with a block of two on each day, and the lock on.
std::string timetableReply()
{
    const char* names[] = { "Maths", "Chinese", "English", "Science", "Music", "Art", "Sport", "Reading" };
    std::string rows;
    for (int lesson = 0; lesson < 8; ++lesson) {
        std::string row = "{\"Name\":" + std::to_string(lesson + 1) + ",\"Start_H\":" + std::to_string(8 + lesson)
            + ",\"Start_M\":5,\"End_H\":" + std::to_string(8 + lesson) + ",\"End_M\":45";
        for (int day = 0; day < 5; ++day)
            row += ",\"D" + std::to_string(day + 1) + "\":\"" + names[(lesson / 2 * 2 + day) % 8] + "\"";
        rows += (rows.empty() ? "" : ",") + row + "}";
    }
    return "{\"d\":{\"State\":1,\"Lumet_ClassInfoEntity\":[" + rows + "]}}";
}

struct ScheduleScene {
    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
    std::shared_ptr<childcare::ClassScheduleVC> schedule = childcare::ClassScheduleVC::make(true);
    std::shared_ptr<ui::NavigationController> navigation = ui::NavigationController::withRootViewController(schedule);

    ScheduleScene()
    {
        ui::Screen::main().setBounds({ 0, 0, 320, 568 });
        ui::Screen::main().setScale(2);
        // Nothing listens there: the screen's own first read fails at once and leaves the grid to the reply below.
        core::Singleton::shared().setServer("http://127.0.0.1:9");
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        settle();
        schedule->loadReply(timetableReply());
        settle();
    }
    // Lets the failed read come back and the overlays fade, in real time.
    static void settle()
    {
        // Runs out the whole time: the predicate never holds.
        (void)base::RunLoop::main().runUntil([] { return false; }, 1500ms);
    }
};

void frameSchedule(benchmark::State& state)
{
    ScheduleScene scene;
    bench::measureFrames(state);
}

void frameCourseEntry(benchmark::State& state)
{
    ScheduleScene scene;
    auto courses = scene.schedule->courseButtons();
    if (courses.empty()) {
        state.SkipWithError("the timetable shows no course");
        return;
    }
    scene.schedule->courseClick(*courses.front());
    ScheduleScene::settle();
    bench::measureFrames(state);
}

void framePeriodPicker(benchmark::State& state)
{
    ScheduleScene scene;
    scene.schedule->pushSetTimeVC();
    auto periods = scene.schedule->classTimeSetVC();
    ScheduleScene::settle();
    periods->didSelectRowAtIndexPath(*periods->tableView(), { 0, 1 });
    ScheduleScene::settle();
    bench::measureFrames(state);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/class_schedule", frameSchedule)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/course_entry", frameCourseEntry)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/class_period_times", framePeriodPicker)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
