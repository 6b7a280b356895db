#include "base/loop/MainThread.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace base {

// On Linux the main thread's id is the process id. A thread keeps its answer, so the web calls' many checks
// cost no system call after a thread's first.
bool isMainThread()
{
    thread_local const bool isMain = gettid() == getpid();
    return isMain;
}

void failMainThreadAssertion(const char* function, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: %s must be called on the main thread\n", file, line, function);
    std::abort();
}

} // namespace base
