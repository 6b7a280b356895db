// bench::SignedInScene: the application signed in to an in-process local tracking service with the demo
// account, on the real clock, in a temporary data root, so that frame benchmarks can measure the screens as a
// user sees them. A screen benchmark opens its screen (a menu row, a push on the home screen, a panel), waits
// for it to settle, then measures full frames with measureFrames. Main thread; one scene per benchmark case.
// With showFrames(), every wait also brings a kept picture of the screen up to date after each turn of the
// loop, as a window host does, so that what drawing allocates and keeps counts as it does in the application.
//
//   bench::SignedInScene scene;
//   shell::TourContext::openMenuRow(shell::ScreenDirectory::PhoneBook);
//   scene.settle();
//   bench::measureFrames(state);
#pragma once

#include "base/time/Clock.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace shell {
class AppDelegate;
}
namespace ui {
class ScreenFrame;
}
namespace tracking_service {
class TrackingService;
}

namespace bench {

class SignedInScene {
public:
    // Against a local service of its own, in this process.
    SignedInScene();
    // Against the local service at `serviceRoot` ("http://127.0.0.1:<port>"), which another process runs.
    explicit SignedInScene(const std::string& serviceRoot);
    ~SignedInScene();
    SignedInScene(const SignedInScene&) = delete;
    SignedInScene& operator=(const SignedInScene&) = delete;

    // Whether the sign-in reached the home screen with its device record.
    bool ready() const { return m_ready; }

    // Runs the main loop until `done` holds or `limit` of real time has passed; whether it held.
    static bool waitUntil(const std::function<bool()>& done, base::Duration limit = base::Duration(10));
    // Lets replies arrive and animations end: waits for the network to be idle, then a second more.
    static void settle();
    // Opens the menu, taps the row of that function key and lets its screen settle in the centre; whether it
    // came.
    static bool openMenuScreen(const std::string& key);
    // From now on until the scene ends, waits draw the screen after every turn of the loop.
    void showFrames();

private:
    // Signs in to the service at `serviceRoot` with the demo account.
    void signIn(const std::string& serviceRoot);

    std::filesystem::path m_home;
    std::unique_ptr<tracking_service::TrackingService> m_service;
    std::shared_ptr<shell::AppDelegate> m_application;
    std::unique_ptr<ui::ScreenFrame> m_frame;
    bool m_ready { false };
};

// Measures full frames of the main screen as the hosts draw them: the layout and display passes, then the
// whole window tree rendered into a 640 x 1136 bitmap. Skips the case (with a message) when `ready` is false.
void measureFrames(benchmark::State& state, bool ready = true);

} // namespace bench
