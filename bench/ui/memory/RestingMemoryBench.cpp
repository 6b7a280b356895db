// The application's resident memory at rest, in a process of its own (the frame cases' allocations would
// count in it): signed in to the local service with the screen drawn after every turn as a window host draws
// it, on the home screen, then back on the home screen after every screen was visited: for one device of
// each type the account has, every row of its menu (screens and panels), then every button that device has
// on the home screen (each tapped once, what it opens closed again). Reports the resident set in megabytes
// (1,000,000 bytes) at each point, and malloc's bytes in use beside it. The local service runs in another
// process (this executable started again), so that its memory does not count in the application's.
#include "../SignedInScene.h"

#include "ScratchFolder.h"
#include "ServerProcess.h"
#include "core/state/AccountDevices.h"
#include "core/state/Singleton.h"
#include "kit/drawer/DrawerController.h"
#include "kit/modal/ModalPresenter.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/menu/MenuFunctions.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "tracking-service/TrackingService.h"
#include "ui/alerts/ActionSheet.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/controls/Button.h"
#include "ui/view/Application.h"

#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <map>
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

// What malloc holds in use, in megabytes: set beside the resident set, it tells the memory still held from
// freed memory the heap has not handed back.
double heapInUseMegabytes() { return static_cast<double>(mallinfo2().uordblks) / 1e6; }

std::optional<bench::ServerProcess> service;

using bench::SignedInScene;
using shell::TourContext;

// The visits whose screen did not come up, each named on stderr; the walk goes on past them.
int missedVisits = 0;

bool cameUp(bool came, const std::string& what)
{
    if (!came) {
        std::fprintf(stderr, "%s did not come up\n", what.c_str());
        ++missedVisits;
    }
    return came;
}

// Makes the account's device of that serial number current, as a pick in the device list does, from the home
// screen; whether its record came.
bool pickDevice(const std::string& serialNumber, int64_t type)
{
    if (!TourContext::home() && !SignedInScene::openMenuScreen(shell::MenuFunctions::Home))
        return false;
    core::MobileDeviceAndLocation picked;
    picked.serialNumber = serialNumber;
    picked.deviceTypeID = type;
    TourContext::home()->deviceChosen(picked);
    return SignedInScene::waitUntil([] {
        auto home = TourContext::home();
        return home && home->deviceDetail() && TourContext::networkIdle();
    });
}

// The panel of a shown alert window (an alert or an action sheet) of that kind, if one is up.
template <typename Panel> std::shared_ptr<Panel> shownAlertPanel()
{
    for (const auto& window : ui::Application::shared().windows())
        if (auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            alertWindow && alertWindow->isShown())
            if (auto panel = std::dynamic_pointer_cast<Panel>(alertWindow->panel()))
                return panel;
    return nullptr;
}

// Opens the menu, taps the row of that panel and lets the panel settle, then closes it; whether it came. A
// row that first asks which of several things to edit (in an action sheet) opens the panel of its first choice.
bool openMenuPanel(const std::string& key)
{
    if (auto drawer = TourContext::container())
        drawer->openDrawerSide(kit::DrawerSide::Left, false);
    SignedInScene::waitUntil([] {
        auto menu = TourContext::menu();
        return menu && menu->device() && TourContext::networkIdle();
    });
    TourContext::openMenuRow(key);
    const auto& presenter = kit::ModalPresenter::sharedInstance();
    SignedInScene::waitUntil(
        [&] { return presenter->window() != nullptr || shownAlertPanel<ui::ActionSheet>() != nullptr; });
    if (auto sheet = shownAlertPanel<ui::ActionSheet>())
        sheet->buttonAtIndex(sheet->firstOtherButtonIndex())
            ->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    bool shown = SignedInScene::waitUntil([&] { return presenter->window() != nullptr; });
    SignedInScene::settle();
    kit::ModalPresenter::sharedInstance()->hideAnimated(false);
    SignedInScene::settle();
    return shown;
}

// Every row of the menu of the current device, screens and panels.
void visitMenuRows()
{
    auto menu = TourContext::menu();
    for (const std::string& key : menu ? menu->functions() : std::vector<std::string> {}) {
        if (shell::ScreenDirectory::shared().contains(key))
            cameUp(SignedInScene::openMenuScreen(key), "menu row " + key);
        else if (shell::ScreenDirectory::shared().containsPanel(key))
            cameUp(openMenuPanel(key), "menu panel " + key);
    }
}

// An alert an earlier step left up would stay over the next ones.
void dismissShownAlerts()
{
    for (const auto& window : ui::Application::shared().windows()) {
        auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
        if (auto alert = alertWindow && alertWindow->isShown()
                ? std::dynamic_pointer_cast<ui::AlertView>(alertWindow->panel())
                : nullptr)
            alert->dismissWithClickedButtonIndex(0, false);
    }
}

// Whether an alert is up.
bool alertShown() { return shownAlertPanel<ui::View>() != nullptr; }

// Taps each of the home screen's buttons the current device has, one at a time, letting what it opens settle
// and closing it again.
void visitHomeButtons()
{
    auto home = TourContext::home();
    if (!home && SignedInScene::openMenuScreen(shell::MenuFunctions::Home))
        home = TourContext::home();
    if (!home)
        return;
    auto tap = [](const std::shared_ptr<ui::Button>& button) {
        return [button] { button->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside); };
    };
    std::vector<std::function<void()>> taps {
        [home] { home->pushScreen(shell::ScreenDirectory::Attendance); },
        tap(home->functionButton()),
        tap(home->deviceListButton()),
        tap(home->messagesButton()),
    };
    if (!home->voiceButton()->isHidden())
        taps.push_back(tap(home->voiceButton()));
    for (size_t button = 0; button < taps.size(); ++button) {
        taps[button]();
        cameUp(SignedInScene::waitUntil(
                   [&] { return (TourContext::topOfCentre() != home || alertShown()) && TourContext::networkIdle(); }),
            "home button " + std::to_string(button));
        SignedInScene::settle();
        dismissShownAlerts();
        TourContext::popToCentreRoot();
        SignedInScene::settle();
    }
    if (!home->familyNumberButton()->isHidden()) {
        home->setNumber();
        SignedInScene::settle();
        home->setNumber();
        SignedInScene::settle();
    }
}

void restingMemory(benchmark::State& state)
{
    for (auto _ : state) {
        bench::SignedInScene scene("http://127.0.0.1:" + std::to_string(service->port()));
        scene.showFrames();
        bench::SignedInScene::settle();
        state.counters["home_MB"] = residentMegabytes();
        state.counters["home_heap_MB"] = heapInUseMegabytes();
        std::string firstSerial = core::Singleton::shared().lastSerialnumber();
        // One device of each type (a copy: the walk's device lists write the account's types again).
        std::map<int64_t, std::string> serialByType;
        for (const auto& [serialNumber, type] : core::AccountDevices::types())
            serialByType.emplace(type, serialNumber);
        for (const auto& [type, serialNumber] : serialByType)
            if (cameUp(pickDevice(serialNumber, type), "device " + serialNumber)) {
                visitMenuRows();
                visitHomeButtons();
            }
        if (auto first = core::AccountDevices::types().find(firstSerial); first != core::AccountDevices::types().end())
            cameUp(pickDevice(first->first, first->second), "device " + firstSerial);
        cameUp(SignedInScene::openMenuScreen(shell::MenuFunctions::Home), "menu row home");
        // At rest: long enough for the screen to count as still and hand back what it no longer needs.
        SignedInScene::waitUntil([] { return false; }, base::Duration(3));
        state.counters["rest_MB"] = residentMegabytes();
        state.counters["rest_heap_MB"] = heapInUseMegabytes();
        state.counters["device_types"] = static_cast<double>(serialByType.size());
        state.counters["missed"] = missedVisits;
        if (!scene.ready())
            state.SkipWithError("the sign-in did not reach the home screen");
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
