#include "base/loop/MainThread.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace base {

// On Linux the main thread's id is the process id, whichever thread asks first.
bool isMainThread() { return gettid() == getpid(); }

void failMainThreadAssertion(const char* function, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: %s must be called on the main thread\n", file, line, function);
    std::abort();
}

} // namespace base
