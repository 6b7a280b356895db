#include "support/PausedThread.h"

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace test {

namespace {

    // The paused thread says through the first pipe that it has stopped, waits on the second for leave to go
    // on, and says through the first again that it no longer touches either.
    int stopped[2] = { -1, -1 };
    int resume[2] = { -1, -1 };

    void pauseHere(int)
    {
        char byte = 0;
        (void)::write(stopped[1], &byte, 1);
        while (::read(resume[0], &byte, 1) < 0) { }
        (void)::write(stopped[1], &byte, 1);
    }

    void awaitByte(int descriptor)
    {
        char byte;
        while (::read(descriptor, &byte, 1) < 0) { }
    }

} // namespace

PausedThread::PausedThread(pthread_t thread) { pause(thread); }

void PausedThread::pause(pthread_t thread)
{
    ASSERT_EQ(::pipe(stopped), 0);
    ASSERT_EQ(::pipe(resume), 0);
    struct sigaction action { };
    action.sa_handler = pauseHere;
    sigemptyset(&action.sa_mask);
    ASSERT_EQ(::sigaction(SIGUSR2, &action, nullptr), 0);
    ASSERT_EQ(::pthread_kill(thread, SIGUSR2), 0);
    awaitByte(stopped[0]);
    m_paused = true;
}

PausedThread::~PausedThread()
{
    char byte = 0;
    if (m_paused) {
        (void)::write(resume[1], &byte, 1);
        awaitByte(stopped[0]);
    }
    for (int* pipe : { stopped, resume }) {
        ::close(pipe[0]);
        ::close(pipe[1]);
    }
}

} // namespace test
