#include "settings/numbers/NumberSendQueue.h"

#include "base/loop/MainThread.h"
#include "base/system/Log.h"

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
    Queued queued { core::SignInSession::current(), std::move(job) };
    if (isBusy(serialNumber)) {
        m_waiting[serialNumber].push_back(std::move(queued));
        return;
    }
    run(serialNumber, std::move(queued));
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

void NumberSendQueue::run(const std::string& serialNumber, Queued queued)
{
    m_busy[serialNumber] = true;
    // A job that calls `finished` twice must not start two of the next ones.
    auto once = std::make_shared<bool>(false);
    queued.job([this, serialNumber, once, signIn = queued.signIn](const Outcome& outcome) {
        if (*once)
            return;
        *once = true;
        if (outcome && signIn.isCurrent())
            outcome();
        finish(serialNumber);
    });
}

void NumberSendQueue::finish(const std::string& serialNumber)
{
    auto waiting = m_waiting.find(serialNumber);
    if (waiting != m_waiting.end()) {
        size_t dropped
            = std::erase_if(waiting->second, [](const Queued& queued) { return !queued.signIn.isCurrent(); });
        if (dropped > 0)
            base::log("numbers: " + std::to_string(dropped)
                + " number changes queued before a sign-out or another sign-in were dropped unsent");
    }
    if (waiting == m_waiting.end() || waiting->second.empty()) {
        m_busy.erase(serialNumber);
        if (waiting != m_waiting.end())
            m_waiting.erase(waiting);
        return;
    }
    Queued next = std::move(waiting->second.front());
    waiting->second.pop_front();
    run(serialNumber, std::move(next));
}

} // namespace settings
