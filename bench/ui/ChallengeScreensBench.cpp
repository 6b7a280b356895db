// Full 640 x 1136 pixel frames of the step challenge's screens, each in a navigation controller under the
// green bar: the set-up screen with its three targets (bare, and under the alert that tells a running
// challenge), the progress screen with a half-filled ring, the
// completion screen with a screenful of falling images, and the upload-interval panel over a dimmed screen.
// Every view is redrawn each frame. No peer: the cases hold the frame budget.
#include "ScreenBenchSupport.h"
#include "base/text/Localization.h"
#include "base/system/Random.h"
#include "childcare/challenge/CompleteChallengeVC.h"
#include "childcare/challenge/ParentChildVC.h"
#include "childcare/challenge/PedometerVC.h"
#include "childcare/device/TimeReceiveSettingVC.h"
#include "core/state/Singleton.h"
#include "gfx/drawing/Context.h"
#include "ui/alerts/AlertView.h"
#include "ui/controls/NavigationBar.h"
#include "ui/controllers/NavigationController.h"
#include "ui/view/Screen.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/Window.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <functional>

namespace {

using bench::redrawAll;
using bench::useScratchServer;

constexpr double width = 320;
constexpr double height = 568;
constexpr double scale = 2;
// About as many falling images as the completion screen keeps in flight.
constexpr int imagesInFlight = 18;

void render(benchmark::State& state, const std::shared_ptr<ui::Window>& window)
{
    window->makeKeyAndVisible();
    ui::UpdateCycle::main().runPasses();
    auto context = gfx::Context::makeBitmap({ width, height }, scale, true);
    for (auto _ : state) {
        redrawAll(*window);
        ui::UpdateCycle::main().runPasses();
        ui::ScreenRenderer::render(*context);
        benchmark::DoNotOptimize(context->bitmap()->data);
    }
    state.SetItemsProcessed(state.iterations());
    window->setHidden(true);
}

void frame(benchmark::State& state, const std::function<std::shared_ptr<ui::ViewController>()>& makeScreen)
{
    ui::Screen::main().setBounds({ 0, 0, width, height });
    ui::Screen::main().setScale(scale);
    useScratchServer();
    auto window = std::make_shared<ui::Window>();
    auto navigation = ui::NavigationController::withRootViewController(makeScreen());
    navigation->navigationBar()->setBarTintColor(childcare::PedometerVC::progressColor);
    window->setRootViewController(navigation);
    render(state, window);
}

std::shared_ptr<core::Device> watch(double target, double finished)
{
    auto device = std::make_shared<core::Device>();
    device->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
    device->lumetDeviceConfig->TargetStepCount = target;
    device->lumetDeviceConfig->FinishStepCount = finished;
    return device;
}

void setUp(benchmark::State& state)
{
    frame(state, [] { return childcare::ParentChildVC::make(false); });
}

void setUpWithAlert(benchmark::State& state)
{
    auto alert = std::make_shared<ui::AlertView>(base::localized("prompt"), base::localized("tasks_in_progress"),
        std::weak_ptr<ui::AlertViewDelegate>(), base::localized("done"), std::vector<std::string>());
    frame(state, [&alert] {
        alert->show();
        return childcare::ParentChildVC::make(false);
    });
    alert->dismissWithClickedButtonIndex(0, false);
}

void progress(benchmark::State& state)
{
    frame(state, [] { return childcare::PedometerVC::make(3000, watch(3000, 1500), true); });
}

void completion(benchmark::State& state)
{
    base::Random::shared().setSeed(1);
    frame(state, [] {
        auto screen = childcare::CompleteChallengeVC::make(watch(3000, 3000));
        for (int i = 0; i < imagesInFlight; ++i)
            screen->addGif();
        return screen;
    });
}

void uploadInterval(benchmark::State& state)
{
    ui::Screen::main().setBounds({ 0, 0, width, height });
    ui::Screen::main().setScale(scale);
    useScratchServer();
    auto device = std::make_shared<core::Device>();
    device->deviceTypeID = 13;
    device->parvoDeviceConfig = std::make_shared<core::ParvoDeviceConfig>();
    device->parvoDeviceConfig->intervalTime = core::ConfigText("60");
    auto panel = childcare::TimeReceiveSettingVC::make(device);
    auto window = std::make_shared<ui::Window>();
    window->setBackgroundColor(gfx::Color::black().withAlpha(0.4));
    panel->view()->setCenter({ width / 2, height / 2 });
    window->addSubview(panel->view());
    panel->viewWillAppear(false);
    render(state, window);
    panel->viewWillDisappear(false);
}

[[maybe_unused]] const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/interaction", setUp)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/interaction-alert", setUpWithAlert)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/pedometer", progress)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/challenge-complete", completion)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/upload-interval", uploadInterval)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
