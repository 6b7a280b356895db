// Full 640 x 1136 pixel frames of the number screens: the family-protection screen under the green bar, and
// over it, centred as the modal presenter shows them, the Parvo number view, the listen-number
// panel, the centre-number panel and the family-number editor; and a screen with the family-number fan open.
// Every view is redrawn each frame, as after a reload. No peer: the cases hold the frame budget.
#include "ScreenBenchSupport.h"
#include "gfx/drawing/Context.h"
#include "settings/numbers/CenterNumberVC.h"
#include "settings/numbers/FamilyNumberVC.h"
#include "settings/numbers/FamilyProtection.h"
#include "settings/numbers/ImageAnimate.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/ListenNumberVC.h"
#include "settings/numbers/NumberPanelParts.h"
#include "ui/controls/NavigationBar.h"
#include "ui/controllers/NavigationController.h"
#include "ui/view/Screen.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/Window.h"

#include <benchmark/benchmark.h>
#include <functional>

namespace {

using bench::redrawAll;
using bench::useScratchServer;

constexpr double width = 320;
constexpr double height = 568;
constexpr double scale = 2;
constexpr gfx::Color green = gfx::Color::rgb(0.52, 0.8, 0.05);

std::shared_ptr<core::Device> device(int64_t type)
{
    auto record = std::make_shared<core::Device>();
    record->serialNumber = "BENCH0000001";
    record->deviceTypeID = type;
    record->parvoDeviceConfig = std::make_shared<core::ParvoDeviceConfig>();
    record->parvoDeviceConfig->keySOSSMSNo = "13900139000";
    record->parvoDeviceConfig->key1CallNo = "13900139001";
    record->parvoDeviceConfig->listenNum = "13900139003";
    record->quennDeviceConfig = std::make_shared<core::SQuennConfig>();
    record->quennDeviceConfig->sOSNum4 = "13600100304";
    record->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
    record->lumetDeviceConfig->numberForFather = "13800138001";
    return record;
}

// The family-protection screen in its navigation controller, with `panel` (when given) shown over it as the
// modal presenter shows it, after its appearance step.
void frame(benchmark::State& state, const std::function<std::shared_ptr<ui::ViewController>()>& makePanel)
{
    ui::Screen::main().setBounds({ 0, 0, width, height });
    ui::Screen::main().setScale(scale);
    auto window = std::make_shared<ui::Window>();
    auto screen = settings::FamilyProtection::make();
    screen->setDeviceDetail(device(36));
    auto navigation = ui::NavigationController::withRootViewController(screen);
    navigation->navigationBar()->setBarTintColor(green);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    std::shared_ptr<ui::ViewController> panel = makePanel ? makePanel() : nullptr;
    if (panel) {
        settings::NumberPanelParts::runAppearanceStep(*panel);
        const auto& view = panel->view();
        gfx::Size size = view->frame().size;
        view->setFrame({ (width - size.width) / 2, (height - size.height) / 2, size.width, size.height });
        window->addSubview(view);
    }
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

void familyProtection(benchmark::State& state) { frame(state, {}); }

void parvoNumbers(benchmark::State& state)
{
    frame(state, [] {
        auto screen = settings::LikeNumberVC::make();
        screen->setDeviceDetail(device(2));
        return screen;
    });
}

void listenNumber(benchmark::State& state)
{
    frame(state, [] { return settings::ListenNumberVC::make(device(3)); });
}

void centerNumber(benchmark::State& state)
{
    frame(state, [] { return settings::CenterNumberVC::make(device(3)); });
}

void familyNumberEditor(benchmark::State& state)
{
    frame(state, [] { return settings::FamilyNumberVC::make(device(44), 1); });
}

// A plain screen with the family-number button in a bottom bar and its four buttons fanned out.
void familyNumberFan(benchmark::State& state)
{
    ui::Screen::main().setBounds({ 0, 0, width, height });
    ui::Screen::main().setScale(scale);
    auto window = std::make_shared<ui::Window>();
    window->setBackgroundColor(gfx::Color::rgb(0.94, 0.95, 0.93));
    window->makeKeyAndVisible();
    auto bar = std::make_shared<ui::View>(gfx::Rect { 0, height - 49, width, 49 });
    bar->setBackgroundColor(gfx::Color::white());
    window->addSubview(bar);
    auto fan = settings::ImageAnimate::make(window);
    fan->setFrame({ 120, -15, 70, 70 });
    fan->setImage(gfx::Image::named("center"), ui::ControlState::Normal);
    bar->addSubview(fan);
    fan->TapAnimation();
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

const bool registered = [] {
    benchmark::RegisterBenchmark("NumbersFrame/ours/family_protection", familyProtection)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("NumbersFrame/ours/parvo_numbers", parvoNumbers)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("NumbersFrame/ours/listen_number", listenNumber)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("NumbersFrame/ours/center_number", centerNumber)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("NumbersFrame/ours/family_number_editor", familyNumberEditor)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("NumbersFrame/ours/family_number_fan", familyNumberFan)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
