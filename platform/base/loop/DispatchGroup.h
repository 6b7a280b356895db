// base::DispatchGroup: counts work in progress across queues. Each enter() is matched by one leave(); when the
// count returns to zero, the blocks registered with notify() are submitted to their queues, in registration
// order, and wait() returns. A notify() on an empty group submits its block at once. Any thread.
//
//   auto group = base::DispatchGroup::make();
//   for (auto& file : files) group->async(base::DispatchQueue::global(), [file] { upload(file); });
//   group->notify(base::DispatchQueue::main(), [self] { self->allUploaded(); });
#pragma once

#include "base/loop/DispatchQueue.h"

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace base {

class DispatchGroup : public std::enable_shared_from_this<DispatchGroup> {
public:
    static std::shared_ptr<DispatchGroup> make() { return std::make_shared<DispatchGroup>(); }

    void enter();
    // A leave without a matching enter is a fault (asserted) and is otherwise ignored.
    void leave();
    // Runs `block` on `queue` as one task of the group.
    void async(const std::shared_ptr<DispatchQueue>& queue, DispatchQueue::Block block);
    void notify(const std::shared_ptr<DispatchQueue>& queue, DispatchQueue::Block block);
    // Blocks the calling thread until the group is empty. Never call it on the main thread while the work
    // it waits for needs the main run loop.
    void wait();

private:
    std::mutex m_mutex;
    std::condition_variable m_emptied;
    size_t m_count { 0 };
    std::vector<std::pair<std::shared_ptr<DispatchQueue>, DispatchQueue::Block>> m_notifications;
};

} // namespace base
