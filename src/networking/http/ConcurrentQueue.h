// networking::ConcurrentQueue: a labelled queue whose blocks run concurrently on the worker pool, like the
// global queue; the content-typed operations turn reply bodies into objects on one each. Any thread.
//
//   static auto queue = networking::ConcurrentQueue::make("org.lumet.networking.json-request.processing");
//   queue->async([operation] { operation->responseJSON(); });
#pragma once

#include "base/loop/DispatchQueue.h"

#include <memory>
#include <string>

namespace networking {

class ConcurrentQueue final : public base::DispatchQueue {
public:
    static std::shared_ptr<ConcurrentQueue> make(std::string label);
    explicit ConcurrentQueue(std::string label)
        : base::DispatchQueue(std::move(label))
    {
    }

    void async(Block block) override;
    void sync(Block block) override;
};

} // namespace networking
