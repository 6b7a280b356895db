// Full frames of the settings lane's screens, as a host renders them: the settings centre (a watch of type
// 36 with every switch), its password panel, the power schedule, the about screen and the feedback
// conversation with six messages, the last one unsent. Each frame marks every view for drawing, runs the end-of-turn
// passes and renders the whole screen at 640 x 1136 pixels.
#include "ScratchFolder.h"
#include "ScreenBenchSupport.h"

#include "childcare/device/DeviceOnAndOf.h"
#include "core/records/Device.h"
#include "feedback/FeedbackVC.h"
#include "kit/modal/ModalPresenter.h"
#include "settings/about/AboutVCViewController.h"
#include "settings/personal/PersonalInfoPasswordPanel.h"
#include "settings/personal/PersonalInfoVC.h"
#include "ui/controllers/NavigationController.h"
#include "ui/view/Screen.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/Window.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

constexpr double width = 320;
constexpr double height = 568;
constexpr double scale = 2;

std::shared_ptr<core::Device> watch()
{
    auto device = std::make_shared<core::Device>();
    device->serialNumber = "LW3600000001";
    device->deviceTypeID = 36;
    device->deviceState = 0;
    device->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
    device->lumetDeviceConfig->powerOnTime = "07:05";
    device->lumetDeviceConfig->powerOffTime = "22:00";
    device->lumetDeviceConfig->powerState = 1;
    device->lumetDeviceConfig->fangHuoQiang = core::ConfigText("true");
    return device;
}

// Shows the screen at the root of a navigation controller in a window of the screen's size; no web call
// answers (the server is unreachable), so the screen shows what it was handed.
struct Scene {
    std::shared_ptr<ui::Window> window;

    explicit Scene(std::shared_ptr<ui::ViewController> screen)
    {
        ui::Screen::main().setBounds({ 0, 0, width, height });
        ui::Screen::main().setScale(scale);
        bench::useScratchServer();
        window = std::make_shared<ui::Window>();
        window->setRootViewController(ui::NavigationController::withRootViewController(std::move(screen)));
        window->makeKeyAndVisible();
        ui::UpdateCycle::main().runPasses();
    }
};

void renderFrames(benchmark::State& state)
{
    auto context = gfx::Context::makeBitmap({ width, height }, scale, true);
    for (auto _ : state) {
        for (const auto& window : ui::Application::shared().windows())
            bench::redrawAll(*window);
        ui::UpdateCycle::main().runPasses();
        ui::ScreenRenderer::render(*context);
        benchmark::DoNotOptimize(context->bitmap()->data);
    }
    state.SetItemsProcessed(state.iterations());
}

void settingsCentre(benchmark::State& state)
{
    Scene scene(settings::PersonalInfoVC::make(watch()));
    renderFrames(state);
}

void passwordPanel(benchmark::State& state)
{
    auto screen = settings::PersonalInfoVC::make(watch());
    Scene scene(screen);
    kit::ModalPresenter::sharedInstance()->showWithContentView(screen->passwordView(), false);
    ui::UpdateCycle::main().runPasses();
    renderFrames(state);
    kit::ModalPresenter::sharedInstance()->hideAnimated(false);
}

void powerSchedule(benchmark::State& state)
{
    auto device = watch();
    Scene scene(childcare::DeviceOnAndOf::make(childcare::DeviceOnAndOfEntity::fromDevice(device.get()), device));
    renderFrames(state);
}

void about(benchmark::State& state)
{
    Scene scene(settings::AboutVCViewController::make());
    renderFrames(state);
}

void feedbackConversation(benchmark::State& state)
{
    auto file = bench::makeScratchFolder("lumet-bench-feedback") / "thread.json";
    auto thread = feedback::FeedbackThread::load(file);
    for (int i = 0; i < 6; ++i)
        thread.append("The map could show the route of the whole day 第" + std::to_string(i + 1) + "条",
            base::Date::fromTimeIntervalSince1970(1.7e9 + i * 600));
    bool marked = true;
    for (int id = 1; id < 6; ++id)
        marked = thread.markSent(id, true) && marked;
    if (!marked) {
        state.SkipWithError("could not mark the messages sent");
    } else {
        Scene scene(feedback::FeedbackVC::make(file, { "http://127.0.0.1:9/feedback", "bench", "", {} }));
        renderFrames(state);
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("SettingsScreenFrame/ours/settings_centre", settingsCentre)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SettingsScreenFrame/ours/password_panel", passwordPanel)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SettingsScreenFrame/ours/power_schedule", powerSchedule)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SettingsScreenFrame/ours/about", about)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SettingsScreenFrame/ours/feedback", feedbackConversation)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
