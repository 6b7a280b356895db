// base::SequenceChecker: for an object that one thread at a time may use (a database connection, a result
// set). The checker binds to the first thread that checks it; from then on a check from another thread fails,
// until the owner hands the object on and detaches the checker, so that the next user binds it afresh. Checked
// in debug builds with BASE_ASSERT_SEQUENCE, so a wrong-thread call fails loudly in tests.
//
//   base::SequenceChecker m_sequence;
//   bool Database::executeStatements(...) { BASE_ASSERT_SEQUENCE(m_sequence); ... }
//   void DatabasePool::pushDatabaseBackInPool(db) { db->detachFromSequence(); ... }
#pragma once

#include <atomic>
#include <thread>

namespace base {

class SequenceChecker {
public:
    // Binds to the calling thread when unbound; whether the calling thread is the bound one.
    [[nodiscard]] bool calledOnValidSequence() const;
    // Unbinds: the next check binds to whichever thread makes it.
    void detach();

private:
    mutable std::atomic<std::thread::id> m_bound {};
};

[[noreturn]] void failSequenceAssertion(const char* function, const char* file, int line);

} // namespace base

#ifdef NDEBUG
#define BASE_ASSERT_SEQUENCE(checker) ((void)0)
#else
#define BASE_ASSERT_SEQUENCE(checker)                                                                                  \
    ((checker).calledOnValidSequence() ? (void)0 : base::failSequenceAssertion(__func__, __FILE__, __LINE__))
#endif
