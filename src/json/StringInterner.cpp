#include "json/StringInterner.h"

#include <algorithm>
#include <bit>
#include <string>

namespace json {

namespace {

    constexpr size_t FirstEntries = 256;
    // A document has about one distinct string in this many bytes, or fewer: its table starts with room for
    // that many, so that a large document does not grow it step by step.
    constexpr size_t BytesPerEntry = 128;
    // The table grows to this many entries at most, 64 KB, so that it stays in the processor's cache while a
    // large document is decoded. Once it is full, a new string takes the place of the one in its home entry:
    // the strings a document repeats often are met again soon after and stay, while the many it has once
    // (numbers, times) pass through.
    constexpr size_t MostEntries = 4096;

} // namespace

void StringInterner::start(DocumentArena& arena, size_t documentBytes)
{
    m_arena = &arena;
    m_count = 0;
    size_t expected = std::bit_ceil(std::clamp(documentBytes / BytesPerEntry, FirstEntries, MostEntries));
    if (expected > m_entries.size()) {
        std::vector<Entry>(expected).swap(m_entries);
        m_mask = expected - 1;
    }
    if (++m_generation == 0) {
        std::fill(m_entries.begin(), m_entries.end(), Entry {});
        m_generation = 1;
    }
}

void StringInterner::finish() { m_arena = nullptr; }

const DocumentString& StringInterner::findOrMake(uint32_t hash, std::string_view bytes)
{
    size_t index = hash & m_mask;
    for (; m_entries[index].generation == m_generation; index = (index + 1) & m_mask) {
        const Entry& entry = m_entries[index];
        if (entry.hash == hash && holds(entry, bytes))
            return *entry.string;
    }
    const DocumentString& made = m_arena->makeString(bytes);
    // The table keeps at least a quarter of its entries empty, so that every probe ends.
    if ((m_count + 1) * 4 <= m_entries.size() * 3) {
        m_entries[index] = Entry { hash, m_generation, &made };
        ++m_count;
    } else if (m_entries.size() < MostEntries) {
        resize(std::max(FirstEntries, m_entries.size() * 2));
        insert(Entry { hash, m_generation, &made });
    } else if (size_t home = hash & m_mask; home != index) {
        m_entries[home] = Entry { hash, m_generation, &made };
    }
    return made;
}

void StringInterner::resize(size_t entries)
{
    std::vector<Entry> old(entries);
    old.swap(m_entries);
    m_mask = entries - 1;
    m_count = 0;
    for (const Entry& entry : old) {
        if (entry.generation == m_generation)
            insert(entry);
    }
}

void StringInterner::insert(const Entry& entry)
{
    size_t index = entry.hash & m_mask;
    while (m_entries[index].generation == m_generation)
        index = (index + 1) & m_mask;
    m_entries[index] = entry;
    ++m_count;
}

} // namespace json
