// kit::performBlockAfterDelay: runs a block on the main run loop once a delay has passed (0: on the next
// turn, never at once), keeping the receiver it is given, and the block, alive until then. Cancelled with
// base::RunLoop::main().cancelPerforms(receiver.get()). Main thread.
//
//   kit::performBlockAfterDelay(notice, [notice] { notice->fadeOut(); }, 1.0);
#pragma once

#include <functional>
#include <memory>

namespace kit {

void performBlockAfterDelay(std::shared_ptr<const void> receiver, std::function<void()> block, double delay);

} // namespace kit
