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
#include <cstdint>
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
        : m_word(reinterpret_cast<uintptr_t>(&owner) | OwnerBit)
        , m_text(text)
    {
    }
    StringStorage(const StringStorage&) = delete;
    StringStorage& operator=(const StringStorage&) = delete;
    ~StringStorage() = default;

    const std::string& text() const { return m_text; }

    void retain() const
    {
        uintptr_t word = m_word.load(std::memory_order_relaxed);
        if (word & OwnerBit)
            owner(word)->retainStrings();
        else
            m_word.fetch_add(OneReference, std::memory_order_relaxed);
    }
    void release() const
    {
        uintptr_t word = m_word.load(std::memory_order_relaxed);
        if (word & OwnerBit)
            owner(word)->releaseStrings();
        else if (m_word.fetch_sub(OneReference, std::memory_order_acq_rel) == OneReference)
            delete this;
    }

private:
    static constexpr uintptr_t OwnerBit = 1;
    static constexpr uintptr_t OneReference = 2;
    static_assert(alignof(StringStorageOwner) > OwnerBit);

    explicit StringStorage(std::string text) noexcept
        : m_word(OneReference)
        , m_text(std::move(text))
    {
    }
    static StringStorageOwner* owner(uintptr_t word) { return reinterpret_cast<StringStorageOwner*>(word & ~OwnerBit); }

    // The owner's address with OwnerBit set, which never changes; or, for storage of its own, its number of
    // references times OneReference, so that the bit stays clear.
    mutable std::atomic<uintptr_t> m_word;
    std::string m_text;
};

inline const StringStorage* StringStorage::make(std::string text) { return new StringStorage(std::move(text)); }

} // namespace base
