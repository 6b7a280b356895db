// shell::AppDelegate: the application's start-up and its becoming active, the shell's main type.
//
// didFinishLaunching runs the start-up in order: Singleton loads the "config" property list and makes the
// "message" folder; DBManager creates its tables; the feature screens register (registerFeatureScreens); a
// network check is scheduled 2.5 s later (the notice
// "bad_netword" shows when there is no network); "notification_switch" gets "1" when absent; the launch
// counter "runtimes" goes up by one; "uploadReceipt" is posted when a purchase receipt waits (core::Purchases); the
// window is shown with the login screen at its root. No push service exists here, so no token is registered: the
// sign-in and the token upload send the blank token.
//
// didBecomeActive (once at start, and each time the host's window is restored after being minimised) schedules
// the network check again after 2.5 s and, while a session is open and an account for silent sign-in is
// remembered ("kReLoginName", "kRePassword"), signs it in again, which renews the session cookie, and then
// posts "notice_recover_from": both only while that sign-in is still the current one when the answer comes.
//
// When no sound device could be opened, the window says so once, as the first sound is asked for.
// finishBeforeExit, at the end of every run (the window closed, an interruption), lets the commands on their
// way get their answers, saying on the window that it is finishing while any are, and then lets the incoming
// messages settle (core::IncomingMessages::finishBeforeExit), all within one time limit.
// Main thread; made with std::make_shared and kept for the life of the process.
//
//   auto application = std::make_shared<shell::AppDelegate>();
//   application->didFinishLaunching();
//   host->run();
#pragma once

#include "base/time/Clock.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class Window;
}

namespace shell {

class LoginVC;

class AppDelegate : public std::enable_shared_from_this<AppDelegate> {
public:
    static constexpr base::Duration networkCheckDelay { 2.5 };

    struct Options {
        // The account the login screen shows when none is remembered.
        std::optional<std::string> suggestedAccount;
        std::optional<std::string> suggestedPassword;
    };

    ~AppDelegate();

    void didFinishLaunching(const Options& options = {});
    void didBecomeActive();
    // Runs the main loop until the web calls and the incoming messages under way have ended, for `limit` (real
    // time) at most. Whether nothing was left under way; the log says what was.
    bool finishBeforeExit(std::chrono::milliseconds limit);

    const std::shared_ptr<ui::Window>& window() const { return m_window; }
    const std::shared_ptr<LoginVC>& loginScreen() const { return m_loginScreen; }

private:
    void countLaunch();
    void scheduleNetworkCheck();
    void checkNetwork();
    void sayWhenSoundIsUnavailable();
    static void signInAgainSilently();

    std::shared_ptr<ui::Window> m_window;
    std::shared_ptr<LoginVC> m_loginScreen;
};

} // namespace shell
