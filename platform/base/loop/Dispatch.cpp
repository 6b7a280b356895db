#include "base/loop/Dispatch.h"

#include <thread>

namespace base {

void dispatchOnce(OnceFlag& flag, const std::function<void()>& block) { std::call_once(flag, block); }

void detachNewThread(std::function<void()> body) { std::thread(std::move(body)).detach(); }

} // namespace base
