#include "base/loop/NotificationCenter.h"

#include <algorithm>

namespace base {

NotificationCenter& NotificationCenter::defaultCenter()
{
    // Never destroyed: observers may still be removed from destructors that run at exit.
    static NotificationCenter* center = new NotificationCenter;
    return *center;
}

NotificationCenter::ObserverToken NotificationCenter::addObserver(
    std::string name, const void* sender, Block block, const void* owner)
{
    auto registration = std::make_shared<Registration>();
    registration->name = std::move(name);
    registration->sender = sender;
    registration->owner = owner;
    registration->block = std::move(block);
    std::lock_guard lock(m_mutex);
    registration->token = m_nextToken++;
    m_registrations.push_back(registration);
    m_registrationCount.store(m_registrations.size(), std::memory_order_release);
    return registration->token;
}

void NotificationCenter::removeObserver(ObserverToken token)
{
    std::vector<std::shared_ptr<Registration>> released; // blocks are destroyed once the lock is released
    std::lock_guard lock(m_mutex);
    std::erase_if(m_registrations, [&](const std::shared_ptr<Registration>& registration) {
        if (registration->token != token)
            return false;
        registration->removed = true;
        released.push_back(registration);
        return true;
    });
    m_registrationCount.store(m_registrations.size(), std::memory_order_release);
}

void NotificationCenter::removeObservers(const void* owner)
{
    if (!owner)
        return;
    std::vector<std::shared_ptr<Registration>> released;
    std::lock_guard lock(m_mutex);
    std::erase_if(m_registrations, [&](const std::shared_ptr<Registration>& registration) {
        if (registration->owner != owner)
            return false;
        registration->removed = true;
        released.push_back(registration);
        return true;
    });
    m_registrationCount.store(m_registrations.size(), std::memory_order_release);
}

bool NotificationCenter::hasObservers(std::string_view name)
{
    if (m_registrationCount.load(std::memory_order_acquire) == 0)
        return false;
    std::lock_guard lock(m_mutex);
    return std::any_of(m_registrations.begin(), m_registrations.end(),
        [&](const auto& registration) { return !registration->removed && registration->name == name; });
}

void NotificationCenter::post(std::string name, std::shared_ptr<void> object, DictionaryRef userInfo)
{
    post(Notification { std::move(name), std::move(object), std::move(userInfo) });
}

void NotificationCenter::post(const Notification& notification)
{
    std::vector<std::shared_ptr<Registration>> recipients;
    {
        std::lock_guard lock(m_mutex);
        for (auto& registration : m_registrations) {
            if (registration->name == notification.name
                && (!registration->sender || registration->sender == notification.object.get()))
                recipients.push_back(registration);
        }
    }
    for (auto& registration : recipients) {
        if (!registration->removed && registration->block)
            registration->block(notification);
    }
}

} // namespace base
