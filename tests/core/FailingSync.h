// The test binary's own fsync (IncomingMessagesTest.cpp) stands before the C library's, for the libraries linked
// in and SQLite alike: it counts the calls, and fails them with EIO while a test asks (a disk that refuses the
// flush).
#pragma once

#include <atomic>

extern std::atomic<int> syncCalls;
extern std::atomic<bool> syncsFail;
