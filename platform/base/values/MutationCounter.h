// base::MutationCounter: the change count a mutable container keeps so that iteration can detect changes made
// while it runs. A mutable container's counter starts at 1 and never returns to 0 (0 stays the answer of
// containers that never change). Not thread-safe: it belongs to its container.
//
//   base::MutationCounter m_mutations;
//   void insert(...) { ...; m_mutations.count(); }
//   uint64_t mutations() const override { return m_mutations.value(); }
#pragma once

#include <cstdint>
#include <string>

namespace base {

class MutationCounter {
public:
    uint64_t value() const { return m_value; }
    void count()
    {
        if (++m_value == 0)
            m_value = 1;
    }

private:
    uint64_t m_value { 1 };
};

// Raises GenericException "*** Collection <ClassName: 0x...> was mutated while being enumerated.".
[[noreturn]] void raiseMutatedWhileEnumerating(const std::string& className, const void* collection);

} // namespace base
