// json::makeSharedWithStorage: one allocation for a shared object and `bytes` of raw storage right after its
// control block, so that a decoded container and its elements are allocated, and freed, together. T is
// constructed as T(storage, arguments...), `storage` being a `void* const&` to the bytes; it must not free
// them (they go with the control block).
//
//   auto array = json::makeSharedWithStorage<JSONArray>(n * sizeof(base::Value), key, n, isMutable);
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace json {

namespace detail {

    // Allocates the control block with `extra` bytes after it and reports where those bytes start.
    template <typename T> struct StorageAllocator {
        using value_type = T;

        StorageAllocator(size_t extra, void** storage)
            : extra(extra)
            , storage(storage)
        {
        }
        template <typename U>
        StorageAllocator(const StorageAllocator<U>& other)
            : extra(other.extra)
            , storage(other.storage)
        {
        }

        T* allocate(size_t n)
        {
            constexpr size_t alignment = alignof(std::max_align_t);
            size_t head = (n * sizeof(T) + alignment - 1) & ~(alignment - 1);
            auto* block = static_cast<char*>(::operator new(head + extra));
            *storage = block + head;
            return reinterpret_cast<T*>(block);
        }
        void deallocate(T* block, size_t) { ::operator delete(block); }

        template <typename U> bool operator==(const StorageAllocator<U>& other) const
        {
            return storage == other.storage;
        }

        size_t extra;
        void** storage;
    };

} // namespace detail

template <typename T, typename... Arguments>
std::shared_ptr<T> makeSharedWithStorage(size_t bytes, Arguments&&... arguments)
{
    // The allocator writes `storage` before the object is constructed; the constructor reads it through
    // the reference it is given.
    void* storage = nullptr;
    return std::allocate_shared<T>(
        detail::StorageAllocator<T>(bytes, &storage), std::as_const(storage), std::forward<Arguments>(arguments)...);
}

} // namespace json
