// bench::ServerProcess: the server a benchmark talks to, run by this same executable in a process of its own,
// so that its threads neither compete with the measured thread for a core nor count in the measured process's
// memory, and so that an instruction count of the benchmark (under callgrind, which does not follow a started
// program) leaves the server out. The server process learns its role from its arguments, tells its port on its
// first line of output and serves until its parent lets it go or exits. A benchmark pinned to some processors
// (taskset) has its server moved to the others, so that the two never queue behind each other on one core.
//
//   int main(int argc, char** argv)
//   {
//       if (bench::startedToServe(argc, argv)) {
//           Server server;
//           bench::serveUntilReleased(server.port());
//           return 0;
//       }
//       bench::ServerProcess server;   // the same executable, started to serve
//       use("http://127.0.0.1:" + std::to_string(server.port()));
//   }
#pragma once

#include <sys/types.h>

namespace bench {

// Whether this process was started by a ServerProcess; if so, it has moved off the processors its parent is
// pinned to.
bool startedToServe(int argc, char** argv);

// In the server process: tells the parent the port, then returns once the parent has let go of the server or
// has exited.
void serveUntilReleased(int port);

class ServerProcess {
public:
    // Starts this executable to serve and waits for its port; throws std::runtime_error when it does not come.
    ServerProcess();
    // Lets the server go and waits for its process to end.
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return m_port; }

private:
    pid_t m_pid { -1 };
    // The write end of the server's standard input: closing it lets the server go.
    int m_release { -1 };
    int m_port { 0 };
};

} // namespace bench
