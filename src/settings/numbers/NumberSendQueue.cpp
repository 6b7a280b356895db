#include "settings/numbers/NumberSendQueue.h"

#include "base/loop/MainThread.h"

#include <memory>

namespace settings {

NumberSendQueue& NumberSendQueue::shared()
{
    static NumberSendQueue queue;
    return queue;
}

void NumberSendQueue::enqueue(const std::string& serialNumber, Job job)
{
    BASE_ASSERT_MAIN_THREAD();
    if (isBusy(serialNumber)) {
        m_waiting[serialNumber].push_back(std::move(job));
        return;
    }
    run(serialNumber, std::move(job));
}

bool NumberSendQueue::isBusy(const std::string& serialNumber) const
{
    auto found = m_busy.find(serialNumber);
    return found != m_busy.end() && found->second;
}

size_t NumberSendQueue::waitingCount(const std::string& serialNumber) const
{
    auto found = m_waiting.find(serialNumber);
    return found == m_waiting.end() ? 0 : found->second.size();
}

void NumberSendQueue::run(const std::string& serialNumber, Job job)
{
    m_busy[serialNumber] = true;
    // A job that calls `finished` twice must not start two of the next ones.
    auto once = std::make_shared<bool>(false);
    job([this, serialNumber, once] {
        if (*once)
            return;
        *once = true;
        finish(serialNumber);
    });
}

void NumberSendQueue::finish(const std::string& serialNumber)
{
    auto waiting = m_waiting.find(serialNumber);
    if (waiting == m_waiting.end() || waiting->second.empty()) {
        m_busy.erase(serialNumber);
        if (waiting != m_waiting.end())
            m_waiting.erase(waiting);
        return;
    }
    Job next = std::move(waiting->second.front());
    waiting->second.pop_front();
    run(serialNumber, std::move(next));
}

} // namespace settings
