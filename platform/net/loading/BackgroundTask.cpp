#include "net/loading/BackgroundTask.h"

#include <atomic>

namespace net {

BackgroundTask::Identifier BackgroundTask::begin(const std::function<void()>&)
{
    static std::atomic<Identifier> next { 1 };
    return next++;
}

void BackgroundTask::end(Identifier) { }

} // namespace net
