// The application's resident memory at rest, in a process of its own (the frame cases' allocations would
// count in it): signed in to the local service with the screen drawn after every turn as a window host draws
// it, on the home screen, then back on the home screen after every screen the menu opens was opened from its
// row. Reports the resident set in megabytes (1,000,000 bytes) at each point.
#include "../SignedInScene.h"

#include "shell/menu/ExpansionListVC.h"
#include "shell/menu/MenuFunctions.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"

#include <fstream>
#include <string>

namespace {

// The resident set of this process in megabytes, from /proc/self/status (reported there in KiB).
double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) * 1024 / 1e6;
    return 0;
}

void restingMemory(benchmark::State& state)
{
    for (auto _ : state) {
        bench::SignedInScene scene;
        scene.showFrames();
        bench::SignedInScene::settle();
        state.counters["home_MB"] = residentMegabytes();
        auto menu = shell::TourContext::menu();
        bool visited = scene.ready() && menu;
        for (const std::string& key : menu ? menu->functions() : std::vector<std::string> {})
            if (shell::ScreenDirectory::shared().contains(key))
                visited = visited && bench::SignedInScene::openMenuScreen(key);
        visited = visited && bench::SignedInScene::openMenuScreen(shell::MenuFunctions::Home);
        state.counters["rest_MB"] = residentMegabytes();
        if (!visited)
            state.SkipWithError("a screen did not come up");
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("RestingMemory/ours/after-every-screen", restingMemory)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
