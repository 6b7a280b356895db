#include "base/loop/DispatchGroup.h"

#include <cassert>

namespace base {

void DispatchGroup::enter()
{
    std::lock_guard lock(m_mutex);
    ++m_count;
}

void DispatchGroup::leave()
{
    decltype(m_notifications) due;
    {
        std::lock_guard lock(m_mutex);
        assert(m_count > 0 && "DispatchGroup::leave without a matching enter");
        if (m_count == 0 || --m_count > 0)
            return;
        due.swap(m_notifications);
    }
    m_emptied.notify_all();
    for (auto& [queue, block] : due)
        queue->async(std::move(block));
}

void DispatchGroup::async(const std::shared_ptr<DispatchQueue>& queue, DispatchQueue::Block block)
{
    enter();
    queue->async([self = shared_from_this(), block = std::move(block)] {
        block();
        self->leave();
    });
}

void DispatchGroup::notify(const std::shared_ptr<DispatchQueue>& queue, DispatchQueue::Block block)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_count > 0) {
            m_notifications.emplace_back(queue, std::move(block));
            return;
        }
    }
    queue->async(std::move(block));
}

void DispatchGroup::wait()
{
    std::unique_lock lock(m_mutex);
    m_emptied.wait(lock, [this] { return m_count == 0; });
}

} // namespace base
