// Full 640 x 1136 pixel frames of the watch phone book, in a navigation controller under the green bar: the
// list of ten rows (three contacts, round heads) and the entry editor of one contact. Every view is redrawn
// each frame, as after a reload. No peer: the cases hold the frame budget.
#include "ScreenBenchSupport.h"
#include "core/state/Singleton.h"
#include "gfx/drawing/Context.h"
#include "settings/phonebook/EditPhoneBookVC.h"
#include "settings/phonebook/PhoneBookVC.h"
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
constexpr gfx::Color barTint = gfx::Color::rgb(0.52, 0.8, 0.05);

void frame(benchmark::State& state, const std::function<std::shared_ptr<ui::ViewController>()>& makeScreen)
{
    ui::Screen::main().setBounds({ 0, 0, width, height });
    ui::Screen::main().setScale(scale);
    useScratchServer();
    auto window = std::make_shared<ui::Window>();
    auto navigation = ui::NavigationController::withRootViewController(makeScreen());
    navigation->navigationBar()->setBarTintColor(barTint);
    window->setRootViewController(navigation);
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

void phoneBook(benchmark::State& state)
{
    frame(state, [] {
        auto screen = settings::PhoneBookVC::make();
        screen->view();
        screen->bookArrived(R"({"d":{"PL":["13800138001","13800138002","13700137000"],"Name":["Dad","Mum","奶奶"]}})");
        return screen;
    });
}

void phoneBookEditor(benchmark::State& state)
{
    frame(state, [] {
        auto editor = std::make_shared<settings::EditPhoneBookVC>();
        editor->prepare("LW3600000001", 2, "奶奶", "13700137000");
        return editor;
    });
}

[[maybe_unused]] const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/phone-book", phoneBook)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/phone-book-editor", phoneBookEditor)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
