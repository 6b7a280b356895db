// base::DispatchQueue: where a block runs. The main queue runs blocks as tasks of the main run loop; the global
// queue runs them concurrently on the worker pool; a serial queue runs them one at a time, in submission
// order, on the worker pool. Queues are shared objects (identity matters: a caller may keep "the queue to call
// back on"); every method may be called from any thread.
//
//   base::DispatchQueue::global()->async([weak] { auto bytes = download(); base::DispatchQueue::main()->async(
//       [weak, bytes] { if (auto self = weak.lock()) self->show(bytes); }); });
//   base::DispatchQueue::main()->after(2s, [self] { self->hidePanel(); });
#pragma once

#include "base/loop/Task.h"
#include "base/time/Clock.h"

#include <functional>
#include <memory>
#include <string>

namespace base {

class DispatchQueue : public std::enable_shared_from_this<DispatchQueue> {
public:
    using Block = Task;

    static std::shared_ptr<DispatchQueue> main();
    static std::shared_ptr<DispatchQueue> global();
    static std::shared_ptr<DispatchQueue> makeSerial(std::string label);

    virtual ~DispatchQueue() = default;

    virtual void async(Block block) = 0;
    // Runs the block on the queue and returns when it has run. On the main queue from the main thread it
    // runs at once; on a serial queue from inside that queue it would wait for itself, which is a fault.
    virtual void sync(Block block) = 0;
    // Submits the block once `delay` has passed on the installed clock (measured by the main run loop).
    virtual void after(Duration delay, Block block);

    const std::string& label() const { return m_label; }

protected:
    explicit DispatchQueue(std::string label)
        : m_label(std::move(label))
    {
    }
    // Hands `block` to `submit` and waits until it has run wherever `submit` sent it.
    static void runAndWait(const std::function<void(Block)>& submit, Block block);

private:
    std::string m_label;
};

} // namespace base
