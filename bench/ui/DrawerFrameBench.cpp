// Frames of moving pictures in the signed-in application. "drawer-opening": the menu drawer opening over the
// home screen, each frame a whole composite (passes, then the window tree drawn into one kept 640 x 1136
// bitmap) at one of eight instants 1/60 s apart in its slide. "drawer-opening-damaged": the same frames as the
// window host makes them, through a kept screen frame that redraws only what changed since the frame before.
// "home-sign-turning": the home screen at rest while its family-number sign turns, one 1/60 s step per frame,
// as the window host redraws it.
#include "SignedInScene.h"

#include "kit/drawer/DrawerController.h"
#include "shell/tour/TourContext.h"
#include "ui/render/FrameClock.h"
#include "ui/view/Screen.h"
#include "ui/render/ScreenFrame.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/UpdateCycle.h"

namespace {

constexpr int slideFrames = 8;

base::Clock::TimePoint frameAt(base::Clock::TimePoint start, int64_t frame)
{
    return start + base::Clock::ticks(base::Duration(double(frame) / ui::FrameClock::framesPerSecond));
}

// Starts the drawer's slide and returns its first instant; the slide is drawn at later instants without
// running the loop, so it stays under way.
base::Clock::TimePoint startSlide()
{
    if (auto drawer = shell::TourContext::container())
        drawer->openDrawerSide(kit::DrawerSide::Left, true);
    ui::UpdateCycle::main().runPasses();
    return ui::FrameClock::main().now();
}

void drawerOpening(benchmark::State& state)
{
    bench::SignedInScene scene;
    if (!scene.ready()) {
        state.SkipWithError("the home screen did not come up");
        return;
    }
    base::Clock::TimePoint start = startSlide();
    auto context = gfx::Context::makeBitmap(ui::Screen::main().bounds().size, ui::Screen::main().scale(), true);
    int64_t frame = 0;
    for (auto _ : state) {
        ui::UpdateCycle::main().runPasses();
        ui::RenderOptions options;
        options.instant = frameAt(start, 1 + frame++ % slideFrames);
        ui::ScreenRenderer::render(*context, options);
        benchmark::DoNotOptimize(context->bitmap()->data);
    }
    state.SetItemsProcessed(state.iterations());
}

// Frames as the window host makes them, at instants `step` apart from `start` (wrapping after `wrap`).
void measureKeptFrames(benchmark::State& state, base::Clock::TimePoint start, int64_t wrap)
{
    ui::ScreenFrame frame;
    frame.update();
    int64_t step = 0;
    for (auto _ : state) {
        ui::UpdateCycle::main().runPasses();
        ui::RenderOptions options;
        options.instant = frameAt(start, 1 + step++ % wrap);
        benchmark::DoNotOptimize(frame.update(options));
    }
    state.SetItemsProcessed(state.iterations());
}

void drawerOpeningDamaged(benchmark::State& state)
{
    bench::SignedInScene scene;
    if (!scene.ready()) {
        state.SkipWithError("the home screen did not come up");
        return;
    }
    measureKeptFrames(state, startSlide(), slideFrames);
}

void homeSignTurning(benchmark::State& state)
{
    bench::SignedInScene scene;
    if (!scene.ready()) {
        state.SkipWithError("the home screen did not come up");
        return;
    }
    // A minute of turning, far more frames than any run measures.
    measureKeptFrames(state, ui::FrameClock::main().now(), 3600);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/drawer-opening", drawerOpening)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/drawer-opening-damaged", drawerOpeningDamaged)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/home-sign-turning", homeSignTurning)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
