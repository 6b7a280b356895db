// base::dispatchOnce and base::detachNewThread: once-only initialisation shared between threads, and a plain
// thread for work that the design runs on a thread of its own rather than on a queue. Any thread.
//
//   static base::OnceFlag once; static Manager* shared;
//   base::dispatchOnce(once, [] { shared = new Manager; });
//   base::detachNewThread([self] { self->runTask(); });
#pragma once

#include <functional>
#include <mutex>

namespace base {

using OnceFlag = std::once_flag;

// Runs `block` the first time it is called with `flag`; concurrent callers wait until that run has finished.
void dispatchOnce(OnceFlag& flag, const std::function<void()>& block);

// Starts a new thread running `body`; nobody joins it. `body` owns what it needs (capture by value).
void detachNewThread(std::function<void()> body);

} // namespace base
