// json::makeSharedWithStorage: a shared object and `bytes` of raw storage right after its control block, in
// one piece of a document's arena, so that a decoded container and its elements are allocated together and
// with the rest of their document. T is constructed as T(storage, arguments...), `storage` being a
// `void* const&` to the bytes; it must not free them (they go with the control block, which gives its
// reference to the arena back when the last handle and weak reference are gone).
//
//   auto array = json::makeSharedWithStorage<JSONArray>(arena, n * sizeof(base::Value), key, n, isMutable);
#pragma once

#include "json/DocumentArena.h"

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace json {

namespace detail {

    // Allocates the control block with `extra` bytes after it from the arena and reports where those bytes
    // start. Copies of the allocator share the arena without references of their own: the one allocation
    // takes a reference and the one deallocation gives it back.
    template <typename T> struct StorageAllocator {
        using value_type = T;

        StorageAllocator(DocumentArena& arena, size_t extra, void** storage)
            : arena(&arena)
            , extra(extra)
            , storage(storage)
        {
        }
        template <typename U>
        StorageAllocator(const StorageAllocator<U>& other)
            : arena(other.arena)
            , extra(other.extra)
            , storage(other.storage)
        {
        }

        T* allocate(size_t n)
        {
            constexpr size_t alignment = alignof(std::max_align_t);
            size_t head = (n * sizeof(T) + alignment - 1) & ~(alignment - 1);
            auto* block = static_cast<char*>(arena->allocate(head + extra));
            *storage = block + head;
            return reinterpret_cast<T*>(block);
        }
        void deallocate(T*, size_t) { arena->release(); }

        template <typename U> bool operator==(const StorageAllocator<U>& other) const { return arena == other.arena; }

        DocumentArena* arena;
        size_t extra;
        void** storage;
    };

} // namespace detail

template <typename T, typename... Arguments>
std::shared_ptr<T> makeSharedWithStorage(DocumentArena& arena, size_t bytes, Arguments&&... arguments)
{
    // The allocator writes `storage` before the object is constructed; the constructor reads it through
    // the reference it is given.
    void* storage = nullptr;
    return std::allocate_shared<T>(detail::StorageAllocator<T>(arena, bytes, &storage), std::as_const(storage),
        std::forward<Arguments>(arguments)...);
}

} // namespace json
