// json::ScratchStack: the parser's stack of values read but not yet stored, for a trivially copyable type.
// Pushing is inline and leaves the new entry unset; only growth goes out of line. Entries move when it grows,
// so a reference to one lasts until the next push. One thread at a time.
//
//   ScratchStack<PendingValue> stack;
//   PendingValue& value = stack.push(); // then written field by field
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

namespace json {

template <typename T> class ScratchStack {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    ScratchStack() = default;
    ScratchStack(const ScratchStack&) = delete;
    ScratchStack& operator=(const ScratchStack&) = delete;
    ~ScratchStack() { std::free(m_entries); }

    size_t size() const { return m_size; }
    T& operator[](size_t index) { return m_entries[index]; }
    T& back() { return m_entries[m_size - 1]; }
    T& push()
    {
        if (m_size == m_capacity)
            grow();
        return m_entries[m_size++];
    }
    // Drops the entries from `size` on.
    void truncate(size_t size) { m_size = size; }
    // Empties the stack, giving its memory back when it holds more than `keptEntries`.
    void clear(size_t keptEntries)
    {
        m_size = 0;
        if (m_capacity > keptEntries) {
            std::free(m_entries);
            m_entries = nullptr;
            m_capacity = 0;
        }
    }

private:
    void grow()
    {
        size_t capacity = m_capacity ? m_capacity * 2 : 64;
        void* entries = std::realloc(m_entries, capacity * sizeof(T));
        if (!entries)
            throw std::bad_alloc();
        m_entries = static_cast<T*>(entries);
        m_capacity = capacity;
    }

    T* m_entries { nullptr };
    size_t m_size { 0 };
    size_t m_capacity { 0 };
};

} // namespace json
