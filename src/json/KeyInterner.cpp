#include "json/KeyInterner.h"

#include <algorithm>
#include <string>

namespace json {

namespace {

    constexpr size_t FirstEntries = 256;
    // Past this many entries a document's further new keys are made without being entered; a table above
    // it is released after the document.
    constexpr size_t MostEntries = 4096;

} // namespace

void KeyInterner::start(DocumentArena& arena)
{
    m_arena = &arena;
    m_count = 0;
    if (++m_generation == 0) {
        std::fill(m_entries.begin(), m_entries.end(), Entry {});
        m_generation = 1;
    }
}

void KeyInterner::finish()
{
    m_arena = nullptr;
    if (m_entries.size() > MostEntries) {
        m_count = 0;
        resize(FirstEntries);
    }
}

const base::Value* KeyInterner::findOrMake(uint32_t hash, std::string_view bytes)
{
    for (size_t index = hash & m_mask; m_entries[index].generation == m_generation; index = (index + 1) & m_mask) {
        const Entry& entry = m_entries[index];
        if (entry.hash == hash && entry.length == bytes.size() && sameBytes(entry.bytes, bytes.data(), bytes.size()))
            return entry.key;
    }
    const base::Value* made = m_arena->makeKey(bytes);
    // The table keeps at least a quarter of its entries empty, so that every probe ends.
    if ((m_count + 1) * 4 > m_entries.size() * 3) {
        if (m_entries.size() >= MostEntries)
            return made;
        resize(std::max(FirstEntries, m_entries.size() * 2));
    }
    insert(Entry { hash, m_generation, bytes.size(), made->string()->data(), made });
    return made;
}

void KeyInterner::resize(size_t entries)
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

void KeyInterner::insert(const Entry& entry)
{
    size_t index = entry.hash & m_mask;
    while (m_entries[index].generation == m_generation)
        index = (index + 1) & m_mask;
    m_entries[index] = entry;
    ++m_count;
}

} // namespace json
