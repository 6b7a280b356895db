// host::InterruptionWatch: while it lives, an interruption calls `interrupted` on the main run loop: SIGINT
// (Ctrl+C in the terminal), SIGTERM, SIGHUP (the terminal or the ssh session closed) and SIGQUIT while nothing
// else has taken it (its action is the default), each of which would otherwise end the process at once and lose
// a command on its way. The signal handler only writes a byte to a pipe whose reading end the run loop watches,
// so the loop wakes for it wherever it waits. A signal the process ignores (a job started in the background
// ignores SIGINT, nohup's SIGHUP) stays ignored; the signals' former actions come back when the watch ends. Main
// thread; one watch at a time.
//
//   host::InterruptionWatch watch([this] { close(); });
#pragma once

#include "base/loop/RunLoop.h"

#include <array>
#include <csignal>
#include <functional>

namespace host {

class InterruptionWatch {
public:
    explicit InterruptionWatch(std::function<void()> interrupted);
    ~InterruptionWatch();
    InterruptionWatch(const InterruptionWatch&) = delete;
    InterruptionWatch& operator=(const InterruptionWatch&) = delete;

private:
    void drain();

    std::function<void()> m_interrupted;
    int m_pipe[2] { -1, -1 };
    base::RunLoop::WatchId m_watch { 0 };
    struct Taken {
        int signal;
        struct sigaction former;
    };
    // The signals whose handler the watch installed, with the actions they had before.
    std::array<Taken, 4> m_taken {};
    size_t m_takenCount { 0 };
};

} // namespace host
