#include "json/DocumentArena.h"

#include <algorithm>
#include <bit>
#include <new>

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

} // namespace

// A block's header; the memory it hands out follows, at the next aligned place.
struct DocumentArena::Block {
    Block* previous;

    static constexpr size_t HeaderBytes = Alignment;
    char* memory() { return reinterpret_cast<char*>(this) + HeaderBytes; }
};

// A string whose text needs destroying, linked to the arena's other such strings.
struct DocumentArena::OwnedString {
    OwnedString(OwnedString* next, std::string_view bytes, DocumentArena& arena)
        : next(next)
        , string(bytes, arena)
    {
    }

    OwnedString* next;
    DocumentString string;
};

// The arena itself lies at the start of its first block, so that a document takes one allocation for both.
DocumentArena::Reference DocumentArena::make(size_t documentBytes)
{
    constexpr size_t headBytes = (sizeof(DocumentArena) + Alignment - 1) & ~(Alignment - 1);
    size_t firstBlockBytes
        = std::bit_ceil(std::clamp(documentBytes * FirstBlockBytesPerByte, SmallestBlock, LargestBlock));
    void* memory = ::operator new(headBytes + firstBlockBytes);
    return Reference(new (memory) DocumentArena(static_cast<char*>(memory) + headBytes, firstBlockBytes));
}

DocumentArena::DocumentArena(char* firstBlock, size_t firstBlockBytes)
    : m_next(firstBlock)
    , m_end(firstBlock + firstBlockBytes)
    , m_nextBlockBytes(std::min(firstBlockBytes * 2, LargestBlock))
{
}

DocumentArena::~DocumentArena()
{
    for (OwnedString* owned = m_ownedStrings; owned; owned = owned->next)
        owned->string.~DocumentString();
    while (Block* block = m_blocks) {
        m_blocks = block->previous;
        ::operator delete(block);
    }
}

void DocumentArena::destroy()
{
    this->~DocumentArena();
    ::operator delete(this);
}

const DocumentString& DocumentArena::makeOwnedString(std::string_view bytes)
{
    m_ownedStrings = new (take(sizeof(OwnedString))) OwnedString(m_ownedStrings, bytes, *this);
    return m_ownedStrings->string;
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
