// host::InterruptionWatch: while it lives, an interruption (SIGINT, Ctrl+C in the terminal, or SIGTERM) calls
// `interrupted` on the main run loop. The signal handler only writes a byte to a pipe whose reading end the run
// loop watches, so the loop wakes for it wherever it waits. A signal the process ignores (a job started in the
// background ignores SIGINT) stays ignored; the signals' former actions come back when the watch ends. Main
// thread; one watch at a time.
//
//   host::InterruptionWatch watch([this] { close(); });
#pragma once

#include "base/loop/RunLoop.h"

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
    struct sigaction m_formerInterrupt { };
    struct sigaction m_formerTerminate { };
};

} // namespace host
