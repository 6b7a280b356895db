// base::BlockOperation: an operation whose work is one block, run on the thread that starts it (a worker
// thread when it runs on an operation queue).
//
//   auto done = base::BlockOperation::make([self] { self->reportBatch(); });
//   for (auto& request : batch) done->addDependency(request);
#pragma once

#include "base/loop/Operation.h"

namespace base {

class BlockOperation : public Operation {
public:
    explicit BlockOperation(Block block)
        : m_block(std::move(block))
    {
    }
    static std::shared_ptr<BlockOperation> make(Block block)
    {
        return std::make_shared<BlockOperation>(std::move(block));
    }

    void main() override
    {
        if (m_block)
            m_block();
    }

private:
    Block m_block;
};

} // namespace base
