#include "host/InterruptionWatch.h"

#include "base/loop/MainThread.h"
#include "base/system/Log.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace host {

namespace {

    // The writing end of the pipe of the watch alive, for the signal handler.
    volatile sig_atomic_t signalPipe = -1;

    void onInterruption(int)
    {
        int saved = errno;
        char byte = 1;
        // A full pipe already holds a wake-up.
        [[maybe_unused]] ssize_t written = write(signalPipe, &byte, 1);
        errno = saved;
    }

    // Installs the handler for `signal` unless the process ignores it, or, for a signal that only counts while
    // nothing else has taken it, unless its action is not the default; the former action in `former`.
    bool take(int signal, struct sigaction& former, bool onlyFromDefault)
    {
        sigaction(signal, nullptr, &former);
        if (former.sa_handler == SIG_IGN || (onlyFromDefault && former.sa_handler != SIG_DFL))
            return false;
        struct sigaction action { };
        action.sa_handler = onInterruption;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(signal, &action, nullptr);
        return true;
    }

} // namespace

InterruptionWatch::InterruptionWatch(std::function<void()> interrupted)
    : m_interrupted(std::move(interrupted))
{
    BASE_ASSERT_MAIN_THREAD();
    if (pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        base::log("host: no pipe for interruptions; they end the process");
        return;
    }
    m_watch = base::RunLoop::main().watchDescriptor(m_pipe[0], POLLIN, [this](short) { drain(); });
    signalPipe = m_pipe[1];
    for (int signal : { SIGINT, SIGTERM, SIGHUP, SIGQUIT }) {
        Taken& taken = m_taken[m_takenCount];
        taken.signal = signal;
        if (take(signal, taken.former, signal == SIGQUIT))
            ++m_takenCount;
    }
}

InterruptionWatch::~InterruptionWatch()
{
    if (m_watch == 0)
        return;
    for (size_t i = 0; i < m_takenCount; ++i)
        sigaction(m_taken[i].signal, &m_taken[i].former, nullptr);
    signalPipe = -1;
    base::RunLoop::main().unwatchDescriptor(m_watch);
    close(m_pipe[0]);
    close(m_pipe[1]);
}

void InterruptionWatch::drain()
{
    char bytes[64];
    while (read(m_pipe[0], bytes, sizeof bytes) > 0) { }
    if (m_interrupted)
        m_interrupted();
}

} // namespace host
