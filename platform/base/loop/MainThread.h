// base::isMainThread and BASE_ASSERT_MAIN_THREAD: the process's main thread (the one the program started on)
// owns the run loop, timers and every UI object. Entry points that must only be called there assert it in
// debug builds, so a call from the wrong thread fails loudly in tests instead of racing silently.
//
//   void View::setNeedsLayout() { BASE_ASSERT_MAIN_THREAD(); m_needsLayout = true; }
#pragma once

namespace base {

bool isMainThread();

[[noreturn]] void failMainThreadAssertion(const char* function, const char* file, int line);

} // namespace base

#ifdef NDEBUG
#define BASE_ASSERT_MAIN_THREAD() ((void)0)
#else
#define BASE_ASSERT_MAIN_THREAD()                                                                                      \
    (base::isMainThread() ? (void)0 : base::failMainThreadAssertion(__func__, __FILE__, __LINE__))
#endif
