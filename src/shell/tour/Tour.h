// shell::Tour: walks the screens that exist, for pictures of the application: the login screen; the home
// screen after signing in with the account the login screen shows; the open drawer menu; each menu screen
// that is built, opened from its row; then the steps the feature screens registered (TourSteps), in their
// order. Before each picture it waits until the screen is ready (its replies have come and no web call is
// under way) and then a moment longer for animations to settle. A step that is not ready within its time
// limit ends the tour as failed. Runs on the main run loop by timers, on whatever clock is installed. Main
// thread; made with std::make_shared.
//
//   auto tour = std::make_shared<shell::Tour>(application,
//       [&](const std::string& name) { return host.writeFrame(name).has_value(); },
//       [](bool succeeded) { base::RunLoop::main().stop(); });
//   tour->start();
#pragma once

#include "base/time/Clock.h"
#include "shell/tour/TourSteps.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace base {
class Timer;
}

namespace shell {

class AppDelegate;

class Tour : public std::enable_shared_from_this<Tour> {
public:
    // Takes the picture of that name; whether it was written.
    using Picture = std::function<bool(const std::string& name)>;
    using Finished = std::function<void(bool succeeded)>;

    static constexpr base::Duration pollInterval { 0.1 };
    static constexpr base::Duration settleTime { 1.0 };
    static constexpr base::Duration stepTimeLimit { 30 };

    Tour(std::shared_ptr<AppDelegate> application, Picture picture, Finished finished);
    ~Tour();

    void start();
    // The pictures taken so far, in order.
    const std::vector<std::string>& pictures() const { return m_pictures; }

private:
    void addMenuScreenSteps();
    void beginStep();
    void poll();
    void takePicture();
    void finish(bool succeeded);

    std::shared_ptr<AppDelegate> m_application;
    Picture m_picture;
    Finished m_finished;
    std::deque<TourStep> m_steps;
    std::vector<std::string> m_pictures;
    std::shared_ptr<base::Timer> m_timer;
    base::Duration m_waited { 0 };
    bool m_done { false };
};

} // namespace shell
