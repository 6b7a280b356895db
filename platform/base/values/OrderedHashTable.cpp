#include "base/values/OrderedHashTable.h"

#include "base/values/Exception.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace base {

namespace {

    // Up to this many entries a scan comparing stored hashes beats an index.
    constexpr size_t linearScanLimit = 8;

    uint32_t tagOf(size_t hash) { return static_cast<uint32_t>(static_cast<uint64_t>(hash) >> 32); }

} // namespace

OrderedHashTable::OrderedHashTable(Dictionary::Pairs pairs)
{
    m_entries.reserve(pairs.size());
    if (pairs.size() > linearScanLimit)
        rebuildIndex(pairs.size());
    for (auto& [key, value] : pairs)
        set(std::move(key), std::move(value));
}

template <typename Matches> size_t OrderedHashTable::findPosition(size_t hash, Matches matches) const
{
    if (m_slots.empty()) {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const Entry& entry = m_entries[i];
            if (entry.hash == hash && !entry.removed && matches(entry.key))
                return i;
        }
        return notFound;
    }
    size_t mask = m_slots.size() - 1;
    uint32_t tag = tagOf(hash);
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (!slot.position)
            return notFound;
        if (slot.tag == tag) {
            const Entry& entry = m_entries[slot.position - 1];
            if (entry.hash == hash && matches(entry.key))
                return slot.position - 1;
        }
    }
}

const Value* OrderedHashTable::find(const Value& key) const
{
    size_t position = findPosition(key.hash(), [&](const Value& candidate) { return candidate == key; });
    return position == notFound ? nullptr : &m_entries[position].value;
}

const Value* OrderedHashTable::findString(std::string_view key) const
{
    size_t position = findPosition(Value::hashString(key), [&](const Value& candidate) {
        const std::string* text = candidate.string();
        return text && *text == key;
    });
    return position == notFound ? nullptr : &m_entries[position].value;
}

void OrderedHashTable::set(Value key, Value value)
{
    size_t hash = key.hash();
    size_t position = findPosition(hash, [&](const Value& candidate) { return candidate == key; });
    if (position != notFound) {
        m_entries[position].value = std::move(value);
        return;
    }
    append(std::move(key), std::move(value), hash);
}

void OrderedHashTable::append(Value key, Value value, size_t hash)
{
    if (m_entries.size() >= std::numeric_limits<uint32_t>::max())
        throw Exception(Exception::MallocException, "Unable to grow the dictionary beyond 4294967295 entries.");
    m_entries.push_back(Entry { std::move(key), std::move(value), hash, false });
    ++m_count;
    if (!m_slots.empty() && m_count * 2 <= m_slots.size())
        placeInIndex(hash, m_entries.size() - 1);
    else if (!m_slots.empty() || m_entries.size() > linearScanLimit)
        rebuildIndex(m_count);
}

bool OrderedHashTable::remove(const Value& key)
{
    size_t hash = key.hash();
    size_t position = findPosition(hash, [&](const Value& candidate) { return candidate == key; });
    if (position == notFound)
        return false;
    if (!m_slots.empty())
        eraseFromIndex(hash, position);
    Entry& entry = m_entries[position];
    entry.key = Value();
    entry.value = Value();
    entry.removed = true;
    --m_count;
    ++m_removed;
    while (!m_entries.empty() && m_entries.back().removed) {
        m_entries.pop_back();
        --m_removed;
    }
    if (m_removed > linearScanLimit && m_removed > m_count)
        compact();
    return true;
}

bool OrderedHashTable::next(size_t& cursor, const Value*& key, const Value*& value) const
{
    while (cursor < m_entries.size()) {
        const Entry& entry = m_entries[cursor++];
        if (!entry.removed) {
            key = &entry.key;
            value = &entry.value;
            return true;
        }
    }
    return false;
}

void OrderedHashTable::placeInIndex(size_t hash, size_t position)
{
    size_t mask = m_slots.size() - 1;
    size_t i = hash & mask;
    while (m_slots[i].position)
        i = (i + 1) & mask;
    m_slots[i] = Slot { tagOf(hash), static_cast<uint32_t>(position + 1) };
}

// Backward-shift deletion: later slots of the same probe run move up into the hole, so that every remaining
// key stays reachable from its home slot without tombstones in the index.
void OrderedHashTable::eraseFromIndex(size_t hash, size_t position)
{
    size_t mask = m_slots.size() - 1;
    size_t hole = hash & mask;
    while (m_slots[hole].position != position + 1)
        hole = (hole + 1) & mask;
    for (size_t i = (hole + 1) & mask; m_slots[i].position; i = (i + 1) & mask) {
        size_t home = m_entries[m_slots[i].position - 1].hash & mask;
        // The slot may move into the hole unless its home lies cyclically after the hole, up to the slot.
        bool homeAfterHole = hole <= i ? (home > hole && home <= i) : (home > hole || home <= i);
        if (!homeAfterHole) {
            m_slots[hole] = m_slots[i];
            hole = i;
        }
    }
    m_slots[hole] = Slot { 0, 0 };
}

// Sizes the index for at least `capacityFor` keys at no more than half load and refills it from the entries.
void OrderedHashTable::rebuildIndex(size_t capacityFor)
{
    size_t capacity = std::bit_ceil(std::max<size_t>(capacityFor * 2, 16));
    m_slots.assign(capacity, Slot { 0, 0 });
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (!m_entries[i].removed)
            placeInIndex(m_entries[i].hash, i);
}

void OrderedHashTable::compact()
{
    size_t kept = 0;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (!m_entries[i].removed) {
            if (kept != i)
                m_entries[kept] = std::move(m_entries[i]);
            ++kept;
        }
    m_entries.resize(kept);
    m_removed = 0;
    if (m_entries.size() > linearScanLimit)
        rebuildIndex(m_count);
    else
        m_slots.clear();
}

} // namespace base
