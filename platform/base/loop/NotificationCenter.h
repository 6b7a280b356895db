// base::NotificationCenter: broadcasts named notifications to the blocks registered for them. Delivery is
// synchronous, on the posting thread, in registration order; an observer may be filtered on one sender (by
// identity). Each registration returns a token that removes it; an owner identity given at registration
// removes all of that owner's registrations at once (a screen does this when it goes away). Removing an
// observer while notifications are being delivered is safe: a removed observer is not called afterwards,
// and an observer added during a delivery hears only later posts. Any thread.
//
//   auto token = base::NotificationCenter::defaultCenter().addObserver("ModalGradientViewTapped", nullptr,
//       [weak = weak_from_this()](const base::Notification&) { if (auto self = weak.lock()) self->dismiss(); }, this);
//   base::NotificationCenter::defaultCenter().removeObservers(this);
#pragma once

#include "base/loop/Notification.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace base {

class NotificationCenter {
public:
    using Block = std::function<void(const Notification&)>;
    using ObserverToken = uint64_t;

    static NotificationCenter& defaultCenter();

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // `sender` (when not null) limits delivery to notifications posted with that object. `sender` and `owner`
    // are identities only, never dereferenced.
    ObserverToken addObserver(std::string name, const void* sender, Block block, const void* owner = nullptr);
    void removeObserver(ObserverToken token);
    void removeObservers(const void* owner);

    // Whether any observer is registered for the name (whatever its sender): a poster may skip making a
    // notification nobody hears.
    bool hasObservers(std::string_view name);
    void post(std::string name, std::shared_ptr<void> object = nullptr, DictionaryRef userInfo = nullptr);
    void post(const Notification& notification);

private:
    struct Registration {
        ObserverToken token;
        std::string name;
        const void* sender;
        const void* owner;
        Block block;
        std::atomic<bool> removed { false };
    };

    std::mutex m_mutex;
    std::vector<std::shared_ptr<Registration>> m_registrations;
    // The registrations' count, written under the lock and read without it, so that a poster asking about a
    // name while nobody observes anything takes no lock.
    std::atomic<size_t> m_registrationCount { 0 };
    ObserverToken m_nextToken { 1 };
};

} // namespace base
