#include "ServerProcess.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

namespace {

    constexpr const char* ServeArgument = "--bench-serve";

    // This executable's path. Under valgrind the link names the program measured, not the tool.
    std::string ownExecutable()
    {
        char path[PATH_MAX];
        ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
        if (length <= 0)
            throw std::runtime_error("cannot find this executable to start its server");
        return std::string(path, static_cast<size_t>(length));
    }

    // The port the server writes on its first line; 0 when the line does not come.
    int readPort(int descriptor)
    {
        std::string line;
        char c;
        ssize_t got;
        while ((got = read(descriptor, &c, 1)) == 1 || (got < 0 && errno == EINTR))
            if (got == 1) {
                if (c == '\n')
                    break;
                line += c;
            }
        return std::atoi(line.c_str());
    }

    // A benchmark pinned to some processors (taskset) passes its pinning on to the server it starts, so both
    // would share them and the kernel would queue one behind the other, which no real network does. The server
    // moves to the processors the benchmark is not pinned to; an unpinned benchmark leaves its server unpinned.
    void moveOffTheParentsProcessors()
    {
        cpu_set_t inherited;
        if (sched_getaffinity(0, sizeof inherited, &inherited) != 0)
            return;
        cpu_set_t others;
        CPU_ZERO(&others);
        long online = sysconf(_SC_NPROCESSORS_CONF);
        for (int cpu = 0; cpu < online && cpu < CPU_SETSIZE; ++cpu)
            if (!CPU_ISSET(cpu, &inherited))
                CPU_SET(cpu, &others);
        // The kernel keeps only the processors this process may use at all; none of them left leaves it as it is.
        if (CPU_COUNT(&others) > 0)
            sched_setaffinity(0, sizeof others, &others);
    }

} // namespace

bool startedToServe(int argc, char** argv)
{
    if (argc <= 1 || std::string_view(argv[1]) != ServeArgument)
        return false;
    moveOffTheParentsProcessors();
    return true;
}

void serveUntilReleased(int port)
{
    std::printf("%d\n", port);
    std::fflush(stdout);
    char ignored[64];
    ssize_t got;
    while ((got = read(STDIN_FILENO, ignored, sizeof ignored)) > 0 || (got < 0 && errno == EINTR)) { }
}

ServerProcess::ServerProcess()
{
    int input[2], output[2];
    if (pipe2(input, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe for the server");
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        throw std::runtime_error("cannot make a pipe for the server");
    }
    std::string executable = ownExecutable();
    char* arguments[] = { executable.data(), const_cast<char*>(ServeArgument), nullptr };
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    int spawned = posix_spawn(&m_pid, executable.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    m_release = input[1];
    if (spawned != 0) {
        close(output[0]);
        close(m_release);
        throw std::runtime_error("cannot start the server process");
    }
    m_port = readPort(output[0]);
    close(output[0]);
    if (m_port <= 0) {
        close(m_release);
        waitpid(m_pid, nullptr, 0);
        throw std::runtime_error("the server process did not tell its port");
    }
}

ServerProcess::~ServerProcess()
{
    close(m_release);
    while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) { }
}

} // namespace bench
