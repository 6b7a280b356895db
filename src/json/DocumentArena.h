// json::DocumentArena: the memory of one decoded document's containers, handed out in order from a few large
// blocks, so that a decode makes a handful of allocations instead of one per array and object and the tree
// lies close together. Each container made in it holds a reference (taken when its memory is handed out,
// given back when its shared handle frees it); the blocks go when the last reference does. A container kept
// after the rest of its document is dropped therefore keeps the whole arena alive.
//
// It also keeps the document's strings (see StringInterner.h), which its containers' values borrow: a string
// value that leaves its container takes a reference to the arena, so the string outlives the rest of the
// document as long as it is held. The strings are destroyed with the blocks. Those whose text lives outside
// them lie side by side in runs, in the order made, so that dropping the document frees their texts walking
// forward through memory, fetching each text's heap memory a few strings ahead.
//
// The memory of the arena freed last on a thread, with its first block, is kept for the next document decoded
// on that thread whose first block it fits without much to spare, while its lines are still in the cache.
//
// Memory is handed out only on the thread that decodes, while it holds the arena's Reference; references
// may be given back from any thread at any time. The references taken while decoding are counted plainly
// and added to the shared count when the decoder's Reference goes: until then the shared count carries a
// bias that no number of releases can use up, so it cannot reach zero early.
//
//   DocumentArena::Reference arena = DocumentArena::make(text.size()); // the decoder's reference
//   void* storage = arena->allocate(bytes); // a second one, the container's
//   arena.reset(); // the decoder is done; the container's reference keeps the blocks
#pragma once

#include "base/values/StringStorage.h"
#include "base/values/Value.h"
#include "json/PlainValue.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace json {

// A string of a decoded document: storage that the document's arena keeps, and a Value that borrows it, to
// which the document's dictionaries point for their keys.
struct DocumentString {
    DocumentString(std::string_view text, base::StringStorageOwner& owner)
        : storage(text, owner)
        , value(base::StringReference::Borrow {}, storage)
    {
    }

    base::StringStorage storage;
    base::Value value;
};

class DocumentArena final : public base::StringStorageOwner {
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
        ++m_handedOut;
        return take(bytes);
    }
    // A string of `bytes` that lives as long as the arena; on the decoding thread only.
    const DocumentString& makeString(std::string_view bytes)
    {
        // A short text lives within its storage, which then frees nothing and is not destroyed.
        if (isPlainText(bytes.size()))
            return *new (take(sizeof(DocumentString))) DocumentString(bytes, *this);
        return makeOwnedString(bytes);
    }
    // Gives back one reference; the last frees the arena and all its memory.
    void release() { release(1); }

    // A reference taken or given back for a string value that left its container.
    void retainStrings() override { m_references.fetch_add(1, std::memory_order_relaxed); }
    void releaseStrings() override { release(1); }

private:
    static constexpr size_t Alignment = alignof(std::max_align_t);
    struct Block;
    struct StringRun;
    // Above any number of references a document can take.
    static constexpr size_t DecodingBias = size_t(1) << 48;
    struct Release {
        // The decoder's own reference and the bias go, the references handed out come.
        void operator()(DocumentArena* arena) const { arena->release(DecodingBias + 1 - arena->m_handedOut); }
    };

    DocumentArena(char* firstBlock, size_t firstBlockBytes);
    ~DocumentArena();
    void* take(size_t bytes)
    {
        bytes = (bytes + Alignment - 1) & ~(Alignment - 1);
        if (static_cast<size_t>(m_end - m_next) < bytes)
            return allocateInNewBlock(bytes);
        void* memory = m_next;
        m_next += bytes;
        return memory;
    }
    void* allocateInNewBlock(size_t bytes);
    const DocumentString& makeOwnedString(std::string_view bytes);
    void startStringRun();
    void destroyOwnedStrings();
    void release(size_t count)
    {
        if (m_references.fetch_sub(count, std::memory_order_acq_rel) == count)
            destroy();
    }
    void destroy();

    char* m_next { nullptr };
    char* m_end { nullptr };
    Block* m_blocks { nullptr };
    // The strings whose text lives outside their storage, to destroy with the arena: the first run and the
    // one that strings are added to.
    StringRun* m_firstStringRun { nullptr };
    StringRun* m_lastStringRun { nullptr };
    size_t m_firstBlockBytes;
    size_t m_nextBlockBytes;
    size_t m_handedOut { 0 };
    std::atomic<size_t> m_references { DecodingBias + 1 };
};

} // namespace json
