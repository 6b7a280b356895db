// Full 640 x 1136 pixel frames of the purchase screen, in a navigation controller under the green bar: its
// one row with the buy button, and the same screen under its notice alert. Every view is redrawn each
// frame, as after a reload. No peer: the cases hold the frame budget.
#include "ScreenBenchSupport.h"
#include "core/helpers/Helper.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "gfx/drawing/Context.h"
#include "settings/about/PurchaseVC.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"
#include "ui/controls/NavigationBar.h"
#include "ui/controllers/NavigationController.h"
#include "ui/view/Screen.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/Window.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

using bench::redrawAll;
using bench::useScratchServer;

constexpr double width = 320;
constexpr double height = 568;
constexpr double scale = 2;
constexpr gfx::Color barTint = gfx::Color::rgb(0.52, 0.8, 0.05);

void dismissAlerts()
{
    for (const auto& window : ui::Application::shared().windows())
        if (auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            alertWindow && alertWindow->isShown())
            if (auto alert = std::dynamic_pointer_cast<ui::AlertView>(alertWindow->panel()))
                alert->dismissWithClickedButtonIndex(0, false);
}

// A receipt waiting for its grant opens the screen without the notice.
void frame(benchmark::State& state, bool receiptWaits)
{
    ui::Screen::main().setBounds({ 0, 0, width, height });
    ui::Screen::main().setScale(scale);
    useScratchServer();
    core::Helper::saveSettingValue(base::Value(receiptWaits ? "UkVDRUlQVA==" : ""), core::SettingsKeys::Receipt);
    auto window = std::make_shared<ui::Window>();
    auto navigation = ui::NavigationController::withRootViewController(settings::PurchaseVC::make());
    navigation->navigationBar()->setBarTintColor(barTint);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    ui::UpdateCycle::main().runPasses();
    auto context = gfx::Context::makeBitmap({ width, height }, scale, true);
    for (auto _ : state) {
        for (const auto& shown : ui::Application::shared().windows())
            redrawAll(*shown);
        ui::UpdateCycle::main().runPasses();
        ui::ScreenRenderer::render(*context);
        benchmark::DoNotOptimize(context->bitmap()->data);
    }
    state.SetItemsProcessed(state.iterations());
    dismissAlerts();
    window->setHidden(true);
}

void purchaseRow(benchmark::State& state) { frame(state, true); }

void purchaseNotice(benchmark::State& state) { frame(state, false); }

[[maybe_unused]] const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/purchase", purchaseRow)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/purchase-notice", purchaseNotice)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
