#include "base/loop/SequenceChecker.h"

#include <cstdio>
#include <cstdlib>

namespace base {

bool SequenceChecker::calledOnValidSequence() const
{
    auto current = std::this_thread::get_id();
    std::thread::id unbound;
    // Either binds (the slot was empty) or leaves in `unbound` the thread already bound.
    if (m_bound.compare_exchange_strong(unbound, current))
        return true;
    return unbound == current;
}

void SequenceChecker::detach() { m_bound = std::thread::id(); }

void failSequenceAssertion(const char* function, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: %s called on another thread than the one using the object\n", file, line, function);
    std::abort();
}

} // namespace base
