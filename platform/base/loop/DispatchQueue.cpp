#include "base/loop/DispatchQueue.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "base/loop/SerialDispatchQueue.h"
#include "base/loop/WorkerPool.h"

#include <condition_variable>
#include <mutex>

namespace base {

namespace {

    class MainDispatchQueue final : public DispatchQueue {
    public:
        MainDispatchQueue()
            : DispatchQueue("main")
        {
        }
        void async(Block block) override { RunLoop::main().post(std::move(block)); }
        void after(Duration delay, Block block) override { RunLoop::main().performAfter(delay, std::move(block)); }
        void sync(Block block) override
        {
            if (isMainThread())
                block();
            else
                runAndWait([](Block job) { RunLoop::main().post(std::move(job)); }, std::move(block));
        }
    };

    class GlobalDispatchQueue final : public DispatchQueue {
    public:
        GlobalDispatchQueue()
            : DispatchQueue("global")
        {
        }
        void async(Block block) override { WorkerPool::shared().submit(std::move(block)); }
        // A concurrent queue imposes no order, so running on the caller's thread is the same as waiting for a worker.
        void sync(Block block) override { block(); }
    };

} // namespace

std::shared_ptr<DispatchQueue> DispatchQueue::main()
{
    static const std::shared_ptr<DispatchQueue> queue = std::make_shared<MainDispatchQueue>();
    return queue;
}

std::shared_ptr<DispatchQueue> DispatchQueue::global()
{
    static const std::shared_ptr<DispatchQueue> queue = std::make_shared<GlobalDispatchQueue>();
    return queue;
}

std::shared_ptr<DispatchQueue> DispatchQueue::makeSerial(std::string label)
{
    return std::make_shared<SerialDispatchQueue>(std::move(label));
}

void DispatchQueue::after(Duration delay, Block block)
{
    RunLoop::main().performAfter(
        delay, [queue = shared_from_this(), block = std::move(block)]() mutable { queue->async(std::move(block)); });
}

void DispatchQueue::runAndWait(const std::function<void(Block)>& submit, Block block)
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    submit([&] {
        block();
        std::lock_guard lock(mutex);
        finished = true;
        done.notify_one();
    });
    std::unique_lock lock(mutex);
    done.wait(lock, [&] { return finished; });
}

} // namespace base
