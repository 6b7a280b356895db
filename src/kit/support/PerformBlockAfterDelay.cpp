#include "kit/support/PerformBlockAfterDelay.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"

namespace kit {

void performBlockAfterDelay(std::shared_ptr<const void> receiver, std::function<void()> block, double delay)
{
    BASE_ASSERT_MAIN_THREAD();
    const void* owner = receiver.get();
    base::RunLoop::main().performAfter(
        base::Duration(delay),
        [receiver = std::move(receiver), block = std::move(block)] {
            if (block)
                block();
        },
        owner);
}

} // namespace kit
