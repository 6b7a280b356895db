// test::PausedThread: stops another thread of this process where it stands, inside a signal handler that
// waits on a pipe, until the object goes; so a test can check what holds while that thread cannot run (it
// has been woken but not yet taken its turn, however late a loaded machine lets it). One at a time.
//
//   test::PausedThread paused(worker.native_handle());   // returns once the worker is stopped
//   plan.letGo("Login", 0);  EXPECT_EQ(plan.heldNow(), 0u);
#pragma once

#include <pthread.h>

namespace test {

class PausedThread {
public:
    explicit PausedThread(pthread_t thread);
    ~PausedThread();
    PausedThread(const PausedThread&) = delete;
    PausedThread& operator=(const PausedThread&) = delete;

private:
    void pause(pthread_t thread);

    bool m_paused { false };
};

} // namespace test
