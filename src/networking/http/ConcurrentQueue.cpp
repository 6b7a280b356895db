#include "networking/http/ConcurrentQueue.h"

#include "base/loop/WorkerPool.h"

namespace networking {

std::shared_ptr<ConcurrentQueue> ConcurrentQueue::make(std::string label)
{
    return std::make_shared<ConcurrentQueue>(std::move(label));
}

void ConcurrentQueue::async(Block block) { base::WorkerPool::shared().submit(std::move(block)); }

void ConcurrentQueue::sync(Block block)
{
    runAndWait([](Block job) { base::WorkerPool::shared().submit(std::move(job)); }, std::move(block));
}

} // namespace networking
