// Full frames of the shell's screens, signed in to the local service: the home screen, the open menu and each
// screen a menu row opens as the drawer's centre, as the hosts draw them (passes and the whole window
// composited; views redraw only when they change).
#include "SignedInScene.h"

#include "kit/drawer/DrawerController.h"
#include "shell/menu/ExpansionListVC.h"
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
    auto home = shell::TourContext::centreRoot();
    // The menu opens its rows' screens with the record it fetches when it is shown.
    if (auto drawer = shell::TourContext::container())
        drawer->openDrawerSide(kit::DrawerSide::Left, false);
    bench::SignedInScene::waitUntil([] {
        auto menu = shell::TourContext::menu();
        return menu && menu->device() && shell::TourContext::networkIdle();
    });
    shell::TourContext::openMenuRow(key);
    bench::SignedInScene::waitUntil([&] {
        return shell::TourContext::centreRoot() != home && shell::TourContext::networkIdle()
            && shell::TourContext::drawerAtRest(kit::DrawerSide::None);
    });
    bench::SignedInScene::settle();
    bench::measureFrames(state, scene.ready() && shell::TourContext::centreRoot() != home);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/home", homeFrame)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/menu", menuFrame)->Unit(benchmark::kMillisecond);
    for (const char* key :
        { shell::ScreenDirectory::Attendance, shell::ScreenDirectory::PhoneBook, shell::ScreenDirectory::FamilyProtect,
            shell::ScreenDirectory::ClassSchedule, shell::ScreenDirectory::Interaction })
        benchmark::RegisterBenchmark((std::string("Frame/ours/signed-in-") + key).c_str(), menuScreenFrame, key)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
