// base::StringReference: a string Value's hold on its StringStorage. Copying it takes another reference to
// the same storage; moving it hands the reference over and leaves the empty text behind.
//
// A borrowed reference takes none: a container that keeps the storage's owner alive for as long as it holds
// the value (a decoded document's containers keep the document's strings) makes it so, and drops it without
// touching the storage, so that a decoded document is dropped without a count changed for each of its
// strings. A copy or a move of a borrowed reference takes a counted one, so what leaves the container never
// depends on it.
//
//   base::Value value(base::StringReference::Borrow {}, storage); // inside a container that keeps `storage`
//   base::Value copy = value; // counted: retains storage's owner
#pragma once

#include "base/values/StringStorage.h"

#include <cstdint>
#include <string>
#include <utility>

namespace base {

class StringReference {
public:
    struct Borrow { };

    // Takes over the caller's reference to `storage`.
    explicit StringReference(const StringStorage* storage) noexcept
        : m_bits(reinterpret_cast<uintptr_t>(storage))
    {
    }
    StringReference(Borrow, const StringStorage& storage) noexcept
        : m_bits(reinterpret_cast<uintptr_t>(&storage) | BorrowedBit)
    {
    }
    StringReference(const StringReference& other) noexcept
        : m_bits(other.counted())
    {
    }
    StringReference(StringReference&& other) noexcept
        : m_bits(other.takeCounted())
    {
    }
    StringReference& operator=(const StringReference& other) noexcept
    {
        if (this != &other)
            reset(other.counted());
        return *this;
    }
    StringReference& operator=(StringReference&& other) noexcept
    {
        if (this != &other)
            reset(other.takeCounted());
        return *this;
    }
    ~StringReference() { drop(); }

    const std::string& text() const
    {
        const StringStorage* held = storage();
        return held ? held->text() : emptyText();
    }
    const StringStorage* storage() const { return reinterpret_cast<const StringStorage*>(m_bits & ~BorrowedBit); }
    bool isBorrowed() const { return m_bits & BorrowedBit; }

private:
    static constexpr uintptr_t BorrowedBit = 1;
    static_assert(alignof(StringStorage) > BorrowedBit);

    static const std::string& emptyText();
    // A new counted reference to the same storage.
    uintptr_t counted() const
    {
        if (const StringStorage* held = storage())
            held->retain();
        return m_bits & ~BorrowedBit;
    }
    // A counted reference to the same storage, this one's own when it is counted (this one is then left empty).
    uintptr_t takeCounted()
    {
        if (isBorrowed())
            return counted();
        return std::exchange(m_bits, 0);
    }
    void reset(uintptr_t bits)
    {
        drop();
        m_bits = bits;
    }
    void drop()
    {
        if (!isBorrowed() && m_bits)
            storage()->release();
    }

    uintptr_t m_bits;
};

} // namespace base
