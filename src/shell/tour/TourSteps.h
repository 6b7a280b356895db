// shell::TourSteps: the tour's steps beyond the login screen, the home screen, the menu and the menu's
// screens: each feature registers a step for every screen the menu does not open by itself (pushed screens,
// panels, editors), and the tour runs them after the menu's steps, in the order they were registered. A step
// names its picture, does its action, waits until `ready` holds (as long as any tour step may) and, once the
// picture is taken, runs `then` (to close what it opened). The helpers of shell/TourContext.h find the
// screens a step needs. Main thread.
//
//   shell::TourSteps::shared().add({ "chat", [] { shell::TourContext::pushOnHome(shell::ScreenDirectory::Chat); },
//       [] { return shell::TourContext::networkIdle(); }, [] { shell::TourContext::popToCentreRoot(); } });
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace shell {

struct TourStep {
    std::string picture;
    std::function<void()> action;
    std::function<bool()> ready;
    // Runs once the picture is taken.
    std::function<void()> then;
};

class TourSteps {
public:
    static TourSteps& shared();

    // A step with the picture name of an earlier one takes its place (so registering twice walks once).
    void add(TourStep step);
    void remove(const std::string& picture);
    const std::vector<TourStep>& steps() const { return m_steps; }

private:
    std::vector<TourStep> m_steps;
};

} // namespace shell
