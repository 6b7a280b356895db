// base::StringStorage: the text of string values, made once and never changed, shared by every Value that
// holds it: copying a Value takes another reference to the same storage, never a copy of its characters.
// Storage either counts its own references (make(): freed with the last one), or is kept by an owner that
// makes many strings at once (a decoded document): then a reference to the storage is a reference to its
// owner, and the owner destroys the storage when its own last reference goes.
//
// References may be taken and dropped from any thread at once; the text is immutable from the moment the
// storage is made, so reading it needs no lock.
//
//   const base::StringStorage* storage = base::StringStorage::make("DeviceID"); // the caller's reference
//   storage->retain(); // a second one
//   storage->release(); storage->release(); // the last frees it
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// What keeps storage that it made: references to its storage are counted as references to the owner.
class StringStorageOwner {
public:
    virtual void retainStrings() = 0;
    virtual void releaseStrings() = 0;

protected:
    ~StringStorageOwner() = default;
};

class StringStorage {
public:
    // Storage of its own, with one reference, the caller's.
    static const StringStorage* make(std::string text);
    // Storage of `text` that `owner` keeps: the owner constructs it in memory of its own and destroys it.
    StringStorage(std::string_view text, StringStorageOwner& owner)
        : m_owner(&owner)
        , m_text(text)
    {
    }
    StringStorage(const StringStorage&) = delete;
    StringStorage& operator=(const StringStorage&) = delete;
    ~StringStorage() = default;

    const std::string& text() const { return m_text; }

    void retain() const
    {
        if (m_owner)
            m_owner->retainStrings();
        else
            m_references.fetch_add(1, std::memory_order_relaxed);
    }
    void release() const
    {
        if (m_owner)
            m_owner->releaseStrings();
        else if (m_references.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

private:
    explicit StringStorage(std::string text) noexcept
        : m_text(std::move(text))
    {
    }

    StringStorageOwner* m_owner { nullptr };
    // The references to storage of its own; unused when an owner keeps it.
    mutable std::atomic<size_t> m_references { 1 };
    std::string m_text;
};

inline const StringStorage* StringStorage::make(std::string text) { return new StringStorage(std::move(text)); }

} // namespace base
