#include "app/Launch.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "base/system/Log.h"
#include "core/service/RootUrl.h"
#include "gfx/text/FontMap.h"
#include "host/HeadlessHost.h"
#include "host/SDLHost.h"
#include "media/backends/AudioBackend.h"
#include "networking/http/NetworkActivityIndicatorManager.h"
#include "shell/start/AppDelegate.h"
#include "shell/tour/Tour.h"

#include <SDL.h>
#include <chrono>
#include <csignal>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace app {

namespace {

    // Interruptions are taken by a thread of their own (sigwait), which asks the main thread to end the run
    // (in a window, by closing it: the window host keeps running the loop until its window closes); they are
    // blocked before any other thread starts, so that every thread inherits the mask. A hang-up (the terminal
    // or the ssh session closed) is one too, and so is a quit while nothing else has taken it (its action is the
    // default): left alone, either ends the process at once, losing a reply on its way to the spool. One that was
    // inherited ignored (nohup's SIGHUP) stays ignored: a blocked signal that is ignored is dropped.
    sigset_t interruptions()
    {
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        sigaddset(&signals, SIGHUP);
        struct sigaction quit { };
        if (sigaction(SIGQUIT, nullptr, &quit) == 0 && quit.sa_handler == SIG_DFL)
            sigaddset(&signals, SIGQUIT);
        return signals;
    }

    // The window host runs until its window closes, so a tour in a window ends by closing it.
    void endRun(bool inWindow)
    {
        if (!inWindow) {
            base::RunLoop::main().stop();
            return;
        }
        SDL_Event quit {};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }

    void stopOnInterruption()
    {
        sigset_t signals = interruptions();
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);
        std::thread([signals] {
            int received = 0;
            sigwait(&signals, &received);
            base::RunLoop::main().post([] { endRun(SDL_WasInit(SDL_INIT_VIDEO) != 0); });
        }).detach();
    }

    std::shared_ptr<shell::Tour> startTour(const std::shared_ptr<shell::AppDelegate>& application,
        const host::HeadlessHost& pictures, bool inWindow, int& status)
    {
        auto tour = std::make_shared<shell::Tour>(
            application,
            [&pictures](const std::string& name) {
                auto file = pictures.writeFrame(name);
                if (file)
                    std::cout << "picture: " << file->string() << std::endl;
                return file.has_value();
            },
            [&status, inWindow](bool succeeded) {
                status = succeeded ? 0 : 1;
                endRun(inWindow);
            });
        tour->start();
        return tour;
    }

} // namespace

int launch(const CommandLine& options)
{
    BASE_ASSERT_MAIN_THREAD();
    if (options.verbose)
        base::Log::enable("all");
    // A write past the file-size limit (ulimit -f) then fails with EFBIG, which the message spool takes as a full
    // disk, instead of ending the process in the middle of a reply.
    std::signal(SIGXFSZ, SIG_IGN);
    if (options.headless)
        stopOnInterruption();
    // Fontconfig's start-up then overlaps the launch's own work. Its thread starts after the interruptions are
    // blocked: one that came while it ran would otherwise end the process at once.
    gfx::startFontMap();
    media::AudioBackend::chooseAtStartUp();
    // The status bar's activity indicator counts every web request from its start to its end.
    networking::NetworkActivityIndicatorManager::sharedManager().setEnabled(true);
    // Kept for later launches only once a sign-in against it succeeds.
    core::setLaunchRootUrl(options.server);

    auto application = std::make_shared<shell::AppDelegate>();
    application->didFinishLaunching({ options.account, options.password });
    host::HeadlessHost pictures(options.snapshots);
    int status = 0;

    std::unique_ptr<host::SDLHost> window;
    if (!options.headless) {
        host::SDLHost::Options hostOptions;
        hostOptions.becameActive = [weak = std::weak_ptr(application)] {
            if (auto self = weak.lock())
                self->didBecomeActive();
        };
        window = host::SDLHost::open(hostOptions);
        if (!window) {
            std::cerr << "lumet-companion: no window can be opened here; try --headless" << std::endl;
            return 1;
        }
    }
    // The application becomes active as it starts, in a window or not.
    application->didBecomeActive();

    std::shared_ptr<shell::Tour> tour;
    if (options.tour)
        tour = startTour(application, pictures, window != nullptr, status);
    if (window)
        window->run();
    else
        base::RunLoop::main().run();

    if (options.headless && !options.tour) {
        if (auto file = pictures.writeFrame("last"))
            std::cout << "picture: " << file->string() << std::endl;
    }
    tour.reset();
    // A command on its way (a password change, say) may have been done by the service: let its answer come and be
    // kept. A message poll waiting for its reply, and a batch of messages being spooled or stored, report back to
    // the main loop: let the reply reach the spool and the batch commit and report before the process's statics go
    // away under them, and replies held in memory have a last try at the spool. Closing the window and an
    // interruption (SIGTERM, SIGINT, SIGHUP, SIGQUIT) end the run the same way, so both wait, the window open and
    // saying so. The log says what could not be kept.
    (void)application->finishBeforeExit(std::chrono::seconds(5));
    window.reset();
    base::RunLoop::main().cancelAllPendingWork();
    return status;
}

} // namespace app
