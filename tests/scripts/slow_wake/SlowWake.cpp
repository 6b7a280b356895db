// slow_wake: a library to preload into a test binary that makes every waking of a thread other than the
// process's main one late by a random 0 to 500 ms (SLOW_WAKE_MAX_MS sets the most), as a loaded machine may:
// a condition-variable wait gives its mutex up again for that time once woken, and poll, ppoll, select and
// epoll_wait return only after it (a call that does not wait is left alone). A test that waits for the event
// it needs passes under it; one that counts on another thread being quick fails. Preloaded alone
// (tests/scripts/slow_wake/ctest-slow-wake shows how): an instrumented binary brings its sanitizer runtime itself.
#include <dlfcn.h>
#include <poll.h>
#include <pthread.h>
#include <sys/epoll.h>
#include <sys/select.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

namespace {

unsigned longestDelayMs()
{
    static const unsigned longest = [] {
        const char* set = std::getenv("SLOW_WAKE_MAX_MS");
        return set && *set ? static_cast<unsigned>(std::strtoul(set, nullptr, 10)) : 500u;
    }();
    return longest;
}

void wakeLate()
{
    if (gettid() == getpid())
        return;
    thread_local std::minstd_rand random(
        static_cast<unsigned>(gettid()) * 2654435761u ^ static_cast<unsigned>(time(nullptr)));
    unsigned delayMs = std::uniform_int_distribution<unsigned>(0, longestDelayMs())(random);
    struct timespec delay {
        static_cast<time_t>(delayMs / 1000), static_cast<long>(delayMs % 1000) * 1000000L
    };
    while (nanosleep(&delay, &delay) != 0) { }
}

// The woken thread is late to take its mutex back: others may take it meanwhile.
void wakeLate(pthread_mutex_t* mutex)
{
    pthread_mutex_unlock(mutex);
    wakeLate();
    pthread_mutex_lock(mutex);
}

template <typename Function> Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

// This library is loaded ahead of the sanitizer runtime an instrumented binary links (preloading that runtime
// into every process a test starts, shells and system tools among them, would end those with its leak
// reports), so the runtime's check that it comes first is turned off. ASAN_OPTIONS still sets the rest.
const char* __asan_default_options() { return "verify_asan_link_order=0"; }

int pthread_cond_wait(pthread_cond_t* condition, pthread_mutex_t* mutex)
{
    static auto real = next<int (*)(pthread_cond_t*, pthread_mutex_t*)>("pthread_cond_wait");
    int result = real(condition, mutex);
    wakeLate(mutex);
    return result;
}

int pthread_cond_timedwait(pthread_cond_t* condition, pthread_mutex_t* mutex, const struct timespec* until)
{
    static auto real
        = next<int (*)(pthread_cond_t*, pthread_mutex_t*, const struct timespec*)>("pthread_cond_timedwait");
    int result = real(condition, mutex, until);
    wakeLate(mutex);
    return result;
}

int pthread_cond_clockwait(
    pthread_cond_t* condition, pthread_mutex_t* mutex, clockid_t clock, const struct timespec* until)
{
    static auto real
        = next<int (*)(pthread_cond_t*, pthread_mutex_t*, clockid_t, const struct timespec*)>("pthread_cond_clockwait");
    int result = real(condition, mutex, clock, until);
    wakeLate(mutex);
    return result;
}

int poll(struct pollfd* descriptors, nfds_t count, int timeoutMs)
{
    static auto real = next<int (*)(struct pollfd*, nfds_t, int)>("poll");
    int result = real(descriptors, count, timeoutMs);
    if (timeoutMs != 0)
        wakeLate();
    return result;
}

int ppoll(struct pollfd* descriptors, nfds_t count, const struct timespec* timeout, const sigset_t* mask)
{
    static auto real = next<int (*)(struct pollfd*, nfds_t, const struct timespec*, const sigset_t*)>("ppoll");
    int result = real(descriptors, count, timeout, mask);
    if (!timeout || timeout->tv_sec != 0 || timeout->tv_nsec != 0)
        wakeLate();
    return result;
}

int select(int count, fd_set* reading, fd_set* writing, fd_set* failing, struct timeval* timeout)
{
    static auto real = next<int (*)(int, fd_set*, fd_set*, fd_set*, struct timeval*)>("select");
    bool waits = !timeout || timeout->tv_sec != 0 || timeout->tv_usec != 0;
    int result = real(count, reading, writing, failing, timeout);
    if (waits)
        wakeLate();
    return result;
}

int epoll_wait(int descriptor, struct epoll_event* events, int count, int timeoutMs)
{
    static auto real = next<int (*)(int, struct epoll_event*, int, int)>("epoll_wait");
    int result = real(descriptor, events, count, timeoutMs);
    if (timeoutMs != 0)
        wakeLate();
    return result;
}

} // extern "C"
