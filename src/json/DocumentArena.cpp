#include "json/DocumentArena.h"

#include <algorithm>
#include <new>

namespace json {

namespace {

    // A decoded tree takes about twice the bytes of its text; blocks stay between these sizes, doubling.
    constexpr size_t SmallestBlock = 1024;
    constexpr size_t LargestBlock = 1024 * 1024;

} // namespace

// A block's header; the memory it hands out follows, at the next aligned place.
struct DocumentArena::Block {
    Block* previous;

    static constexpr size_t HeaderBytes = Alignment;
    char* memory() { return reinterpret_cast<char*>(this) + HeaderBytes; }
};

DocumentArena::Reference DocumentArena::make(size_t documentBytes)
{
    return Reference(new DocumentArena(std::clamp(documentBytes * 2, SmallestBlock, LargestBlock)));
}

DocumentArena::DocumentArena(size_t firstBlockBytes)
    : m_nextBlockBytes(firstBlockBytes)
{
}

DocumentArena::~DocumentArena()
{
    while (Block* block = m_blocks) {
        m_blocks = block->previous;
        ::operator delete(block);
    }
}

void DocumentArena::destroy() { delete this; }

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
