// base::SerialDispatchQueue: a queue that runs its blocks one at a time, in the order they were submitted, on
// the worker pool (not always the same thread). Made with DispatchQueue::makeSerial; any thread may submit.
// A block running on the queue must not call sync on the same queue: it would wait for itself (asserted).
//
//   auto queue = base::DispatchQueue::makeSerial("database.queue");
//   queue->sync([&] { result = database->executeQuery(sql); });
#pragma once

#include "base/loop/DispatchQueue.h"

#include <deque>
#include <mutex>

namespace base {

class SerialDispatchQueue final : public DispatchQueue {
public:
    explicit SerialDispatchQueue(std::string label);

    void async(Block block) override;
    void sync(Block block) override;

private:
    void drain();

    std::mutex m_mutex;
    std::deque<Block> m_blocks;
    bool m_draining { false };
};

} // namespace base
