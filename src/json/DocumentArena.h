// json::DocumentArena: the memory of one decoded document's containers, handed out in order from a few large
// blocks, so that a decode makes a handful of allocations instead of one per array and object and the tree
// lies close together. Each container made in it holds a reference (taken when its memory is handed out,
// given back when its shared handle frees it); the blocks go when the last reference does. A container kept
// after the rest of its document is dropped therefore keeps the whole arena alive.
//
// Handing out memory is for the one thread that decodes; references may be given back from any thread.
//
//   DocumentArena::Reference arena = DocumentArena::make(text.size()); // the decoder's reference
//   void* storage = arena->allocate(bytes); // a second one, the container's
//   arena.reset(); // the decoder is done; the container's reference keeps the blocks
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace json {

class DocumentArena {
    struct Release;

public:
    // One reference, given back when the handle goes.
    using Reference = std::unique_ptr<DocumentArena, Release>;

    // A new arena, its first block sized for a document of `documentBytes`.
    static Reference make(size_t documentBytes);
    DocumentArena(const DocumentArena&) = delete;
    DocumentArena& operator=(const DocumentArena&) = delete;

    // `bytes` of memory aligned for any type, with a reference to the arena that release() gives back.
    void* allocate(size_t bytes)
    {
        bytes = (bytes + Alignment - 1) & ~(Alignment - 1);
        m_references.fetch_add(1, std::memory_order_relaxed);
        if (static_cast<size_t>(m_end - m_next) < bytes)
            return allocateInNewBlock(bytes);
        void* memory = m_next;
        m_next += bytes;
        return memory;
    }
    // Gives back one reference; the last frees the arena and all its memory.
    void release()
    {
        if (m_references.fetch_sub(1, std::memory_order_acq_rel) == 1)
            destroy();
    }

private:
    static constexpr size_t Alignment = alignof(std::max_align_t);
    struct Block;
    struct Release {
        void operator()(DocumentArena* arena) const { arena->release(); }
    };

    explicit DocumentArena(size_t firstBlockBytes);
    ~DocumentArena();
    void* allocateInNewBlock(size_t bytes);
    void destroy();

    char* m_next { nullptr };
    char* m_end { nullptr };
    Block* m_blocks { nullptr };
    size_t m_nextBlockBytes;
    std::atomic<size_t> m_references { 1 };
};

} // namespace json
