// Full frames of the shell's screens, signed in to the local service: the home screen and the open menu.
#include "SignedInScene.h"

#include "kit/DrawerController.h"
#include "shell/TourContext.h"

namespace {

void homeFrame(benchmark::State& state)
{
    bench::SignedInScene scene;
    bench::measureFrames(state, scene.ready());
}

void menuFrame(benchmark::State& state)
{
    bench::SignedInScene scene;
    if (auto drawer = shell::TourContext::container())
        drawer->openDrawerSide(kit::DrawerSide::Left, false);
    bench::SignedInScene::settle();
    bench::measureFrames(state, scene.ready() && shell::TourContext::drawerAtRest(kit::DrawerSide::Left));
}

const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/home", homeFrame)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/menu", menuFrame)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
