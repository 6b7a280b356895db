// Full frames of the shell's screens, signed in to the local service: the home screen, the open menu and each
// screen a menu row opens as the drawer's centre, as the hosts draw them (passes and the whole window
// composited; views redraw only when they change). The home screen is also measured after every menu screen
// was opened and left for it, which costs as much as a fresh one when no screen leaves anything behind.
#include "SignedInScene.h"

#include "kit/drawer/DrawerController.h"
#include "shell/menu/MenuFunctions.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"

#include <string>

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

void menuScreenFrame(benchmark::State& state, const std::string& key)
{
    bench::SignedInScene scene;
    bool opened = bench::SignedInScene::openMenuScreen(key);
    bench::measureFrames(state, scene.ready() && opened);
}

const char* const menuScreens[] = { shell::ScreenDirectory::Attendance, shell::ScreenDirectory::PhoneBook,
    shell::ScreenDirectory::FamilyProtect, shell::ScreenDirectory::ClassSchedule, shell::ScreenDirectory::Interaction };

void homeAfterEveryScreenFrame(benchmark::State& state)
{
    bench::SignedInScene scene;
    bool visited = scene.ready();
    for (const char* key : menuScreens)
        visited = visited && bench::SignedInScene::openMenuScreen(key)
            && bench::SignedInScene::openMenuScreen(shell::MenuFunctions::Home);
    bench::measureFrames(state, visited && shell::TourContext::home());
}

const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/home", homeFrame)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/home-after-every-screen", homeAfterEveryScreenFrame)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/menu", menuFrame)->Unit(benchmark::kMillisecond);
    for (const char* key : menuScreens)
        benchmark::RegisterBenchmark((std::string("Frame/ours/signed-in-") + key).c_str(), menuScreenFrame, key)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
