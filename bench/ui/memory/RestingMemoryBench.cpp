// The application's resident memory at rest, in a process of its own (the frame cases' allocations would
// count in it): signed in to the local service with the screen drawn after every turn as a window host draws
// it, on the home screen, then back on the home screen after every screen the menu opens was opened from its
// row. Reports the resident set in megabytes (1,000,000 bytes) at each point. The local service runs in
// another process (this executable started again), so that its memory does not count in the application's.
#include "../SignedInScene.h"

#include "ScratchFolder.h"
#include "ServerProcess.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/menu/MenuFunctions.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "tracking-service/TrackingService.h"

#include <fstream>
#include <optional>
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

std::optional<bench::ServerProcess> service;

void restingMemory(benchmark::State& state)
{
    for (auto _ : state) {
        bench::SignedInScene scene("http://127.0.0.1:" + std::to_string(service->port()));
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

// The local service alone, with its data in a scratch folder of its own.
int serve()
{
    tracking_service::TrackingService served(bench::makeScratchFolder("lumet-bench-service"));
    if (!served.start())
        return 1;
    bench::serveUntilReleased(served.port());
    served.stop();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (bench::startedToServe(argc, argv))
        return serve();
    service.emplace();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    service.reset();
    return 0;
}
