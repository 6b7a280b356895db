// Full 640 x 1136 pixel frames of the attendance screens, each in a navigation controller under the green
// bar: the attendance list with three days of rows, the attendance settings, and the alarm-clock editor.
// Every text is redrawn each frame, as after a reload. No peer: the cases hold the frame budget.
#include "base/time/ServiceDateText.h"
#include "childcare/alarms/AlarmClockDetailViewController.h"
#include "childcare/attendance/AttendanceSettingVC.h"
#include "childcare/attendance/AttendanceVC.h"
#include "gfx/drawing/Context.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationBar.h"
#include "ui/controllers/NavigationController.h"
#include "ui/view/Screen.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/Window.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <tuple>

namespace {

constexpr double width = 320;
constexpr double height = 568;
constexpr double scale = 2;

// As after a reload: every text on the screen is drawn again.
void redrawTexts(ui::View& view)
{
    if (dynamic_cast<ui::Label*>(&view))
        view.setNeedsDisplay();
    for (const auto& subview : view.subviews())
        redrawTexts(*subview);
}

// The reply of the list request: an arrival and a departure on each of three days before now.
std::string listReply()
{
    std::string rows;
    base::Date yesterday = base::Date::now().dateByAddingTimeInterval(-86400);
    for (int day = 0; day < 3; ++day) {
        base::Date morning = yesterday.dateByAddingTimeInterval(-day * 86400.0);
        for (auto [type, state, hours] : { std::tuple { "1", "迟到", 0.0 }, std::tuple { "2", "正常", 8.0 } }) {
            std::string time = base::serviceDateText(morning.dateByAddingTimeInterval(hours * 3600));
            rows += std::string(rows.empty() ? "" : ",") + R"({"Type":)" + type + R"(,"State":")" + state
                + R"(","Time":")" + time + "\"}";
        }
    }
    return R"({"d":[)" + rows + "]}";
}

void frame(benchmark::State& state, const std::function<std::shared_ptr<ui::ViewController>()>& makeScreen)
{
    ui::Screen::main().setBounds({ 0, 0, width, height });
    ui::Screen::main().setScale(scale);
    auto window = std::make_shared<ui::Window>();
    auto navigation = ui::NavigationController::withRootViewController(makeScreen());
    navigation->navigationBar()->setBarTintColor(childcare::AttendanceVC::green);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    ui::UpdateCycle::main().runPasses();
    auto context = gfx::Context::makeBitmap({ width, height }, scale, true);
    for (auto _ : state) {
        redrawTexts(*window);
        ui::UpdateCycle::main().runPasses();
        ui::ScreenRenderer::render(*context);
        benchmark::DoNotOptimize(context->bitmap()->data);
    }
    state.SetItemsProcessed(state.iterations());
    window->setHidden(true);
}

void attendanceList(benchmark::State& state)
{
    frame(state, [] {
        auto screen = childcare::AttendanceVC::make(std::make_shared<core::Device>(), false);
        screen->view();
        screen->listArrived(listReply());
        return screen;
    });
}

void attendanceSettings(benchmark::State& state)
{
    frame(state, [] {
        auto device = std::make_shared<core::Device>();
        device->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
        device->lumetDeviceConfig->cowNoti = "01";
        auto settings = childcare::AttendanceSettingVC::make();
        settings->setDeviceDetail(device);
        settings->setInTime("07:30");
        return settings;
    });
}

void alarmClockEditor(benchmark::State& state)
{
    frame(state, [] {
        auto alarm = std::make_shared<core::LumetAlarmClockEntity>();
        alarm->isOpen = 1;
        alarm->h = base::Value(7);
        alarm->m = base::Value(5);
        auto editor = childcare::AlarmClockDetailViewController::make();
        editor->setAlarmClockEntity(alarm);
        return editor;
    });
}

[[maybe_unused]] const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/attendance", attendanceList)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/attendance-settings", attendanceSettings)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/alarm-clock-editor", alarmClockEditor)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
