#include "json/DocumentArena.h"

#include <algorithm>
#include <bit>
#include <new>
#include <utility>

namespace json {

namespace {

    // A reply made of many small objects decodes to a tree of about six times the bytes of its text (one
    // with long strings to less, as those have blocks of their own): the first block is sized for that, so
    // that most documents take one block, and taken up to a power of two, so that replies of about the same
    // size ask for the same block, which the allocator then hands back while it is still in the cache. Blocks
    // stay between these sizes, doubling.
    constexpr size_t FirstBlockBytesPerByte = 6;
    constexpr size_t SmallestBlock = 1024;
    constexpr size_t LargestBlock = 1024 * 1024;
    // Runs of strings grow from a few, for the short replies that have a few long texts, doubling to this many.
    constexpr size_t FirstRunStrings = 4;
    constexpr size_t LargestRunStrings = 256;
    // Dropping a document fetches the heap memory of the text this many strings ahead of the one it frees,
    // so that the memory arrives while the strings between are freed.
    constexpr size_t FetchAhead = 8;

    // The memory of the arena freed last on this thread (the arena with its first block), kept for the next
    // document decoded here whose first block fits it with at most this much to spare: its lines are likely
    // still in the cache, where new memory would be touched cold.
    constexpr size_t SpareBlockMostTimesAsked = 4;
    struct SpareArena {
        void* memory { nullptr };
        size_t firstBlockBytes { 0 };
        bool open { true };
        ~SpareArena()
        {
            ::operator delete(memory);
            memory = nullptr;
            open = false; // an arena freed later in the thread's exit frees its memory itself
        }
    };
    thread_local SpareArena spare;

} // namespace

// A block's header; the memory it hands out follows, at the next aligned place.
struct DocumentArena::Block {
    Block* previous;

    static constexpr size_t HeaderBytes = Alignment;
    char* memory() { return reinterpret_cast<char*>(this) + HeaderBytes; }
};

// Strings whose text needs destroying, side by side after this header, in the order made.
struct DocumentArena::StringRun {
    StringRun* next;
    size_t capacity;
    size_t count;

    static size_t headerBytes() { return (sizeof(StringRun) + Alignment - 1) & ~(Alignment - 1); }
    DocumentString* strings()
    {
        return reinterpret_cast<DocumentString*>(reinterpret_cast<char*>(this) + headerBytes());
    }
};

// The arena itself lies at the start of its first block, so that a document takes one allocation for both.
DocumentArena::Reference DocumentArena::make(size_t documentBytes)
{
    constexpr size_t headBytes = (sizeof(DocumentArena) + Alignment - 1) & ~(Alignment - 1);
    size_t firstBlockBytes
        = std::bit_ceil(std::clamp(documentBytes * FirstBlockBytesPerByte, SmallestBlock, LargestBlock));
    void* memory;
    if (spare.memory && spare.firstBlockBytes >= firstBlockBytes
        && spare.firstBlockBytes <= firstBlockBytes * SpareBlockMostTimesAsked) {
        memory = std::exchange(spare.memory, nullptr);
        firstBlockBytes = spare.firstBlockBytes;
    } else
        memory = ::operator new(headBytes + firstBlockBytes);
    return Reference(new (memory) DocumentArena(static_cast<char*>(memory) + headBytes, firstBlockBytes));
}

DocumentArena::DocumentArena(char* firstBlock, size_t firstBlockBytes)
    : m_next(firstBlock)
    , m_end(firstBlock + firstBlockBytes)
    , m_firstBlockBytes(firstBlockBytes)
    , m_nextBlockBytes(std::min(firstBlockBytes * 2, LargestBlock))
{
}

DocumentArena::~DocumentArena()
{
    destroyOwnedStrings();
    while (Block* block = m_blocks) {
        m_blocks = block->previous;
        ::operator delete(block);
    }
}

void DocumentArena::destroy()
{
    size_t firstBlockBytes = m_firstBlockBytes;
    this->~DocumentArena();
    if (!spare.open) {
        ::operator delete(this);
        return;
    }
    ::operator delete(std::exchange(spare.memory, this));
    spare.firstBlockBytes = firstBlockBytes;
}

const DocumentString& DocumentArena::makeOwnedString(std::string_view bytes)
{
    if (!m_lastStringRun || m_lastStringRun->count == m_lastStringRun->capacity)
        startStringRun();
    auto* made = new (m_lastStringRun->strings() + m_lastStringRun->count) DocumentString(bytes, *this);
    // Counted once made, so that a failure to allocate its text leaves nothing to destroy.
    ++m_lastStringRun->count;
    return *made;
}

void DocumentArena::startStringRun()
{
    size_t capacity = m_lastStringRun ? std::min(m_lastStringRun->capacity * 2, LargestRunStrings) : FirstRunStrings;
    auto* run
        = new (take(StringRun::headerBytes() + capacity * sizeof(DocumentString))) StringRun { nullptr, capacity, 0 };
    (m_lastStringRun ? m_lastStringRun->next : m_firstStringRun) = run;
    m_lastStringRun = run;
}

void DocumentArena::destroyOwnedStrings()
{
    // The texts were allocated in about the order the strings were made, so they are freed in that order too;
    // the allocator reads and writes the few bytes just before and at the start of each.
    for (StringRun* run = m_firstStringRun; run; run = run->next) {
        DocumentString* strings = run->strings();
        for (size_t i = 0; i < run->count; ++i) {
            if (i + FetchAhead < run->count) {
                const char* text = strings[i + FetchAhead].storage.text().data();
                __builtin_prefetch(text - sizeof(void*), 1);
                __builtin_prefetch(text, 1);
            }
            strings[i].~DocumentString();
        }
    }
}

void* DocumentArena::allocateInNewBlock(size_t bytes)
{
    // A request larger than a block gets a block of its own, and the current block stays in use.
    size_t size = std::max(bytes, m_nextBlockBytes);
    auto* block = static_cast<Block*>(::operator new(Block::HeaderBytes + size));
    block->previous = m_blocks;
    m_blocks = block;
    if (bytes >= m_nextBlockBytes)
        return block->memory();
    m_next = block->memory() + bytes;
    m_end = block->memory() + size;
    m_nextBlockBytes = std::min(m_nextBlockBytes * 2, LargestBlock);
    return block->memory();
}

} // namespace json
