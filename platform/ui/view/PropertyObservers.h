// ui::PropertyObservers: the observers of one property of an object (a scroll view's content offset or
// content size), told on every setter call, equal values included. An observer registered with `prior` is
// told twice per change: before it (the old value, marked as prior) and after it (old and new); the others
// only after. Removing an observer, even from inside a notification, stops its notifications at once; one
// added during a notification hears only later changes. Main thread.
//
//   auto token = scrollView->addContentOffsetObserver(true, [](const ui::PropertyChange<gfx::Point>& change) {
//       if (change.isPrior) ... else ... *change.newValue ...
//   });
//   scrollView->removeContentOffsetObserver(token);
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ui {

template <typename T> struct PropertyChange {
    T oldValue;
    // Empty in the notification before the change.
    std::optional<T> newValue;
    bool isPrior { false };
};

template <typename T> class PropertyObservers {
public:
    using Block = std::function<void(const PropertyChange<T>&)>;
    using Token = uint64_t;

    // `owner` is an identity for removeAll, never dereferenced.
    Token add(Block block, bool prior, const void* owner = nullptr)
    {
        auto registration
            = std::make_shared<Registration>(Registration { m_nextToken++, owner, prior, std::move(block) });
        m_registrations.push_back(registration);
        return registration->token;
    }

    void remove(Token token)
    {
        std::erase_if(m_registrations, [token](const auto& r) {
            if (r->token != token)
                return false;
            r->removed = true;
            return true;
        });
    }

    void removeAll(const void* owner)
    {
        std::erase_if(m_registrations, [owner](const auto& r) {
            if (r->owner != owner)
                return false;
            r->removed = true;
            return true;
        });
    }

    bool empty() const { return m_registrations.empty(); }

    void willChange(const T& oldValue) { deliver({ oldValue, std::nullopt, true }, true); }

    void didChange(const T& oldValue, const T& newValue) { deliver({ oldValue, newValue, false }, false); }

private:
    struct Registration {
        Token token;
        const void* owner;
        bool prior;
        Block block;
        bool removed { false };
    };

    void deliver(const PropertyChange<T>& change, bool priorOnly)
    {
        auto snapshot = m_registrations;
        for (auto& registration : snapshot) {
            if (registration->removed || (priorOnly && !registration->prior))
                continue;
            registration->block(change);
        }
    }

    std::vector<std::shared_ptr<Registration>> m_registrations;
    Token m_nextToken { 1 };
};

} // namespace ui
