#include "json/JSONHashTable.h"

#include <new>
#include <string>
#include <utility>

namespace json {

namespace {

    bool keysEqual(const base::Value& a, const base::Value& b)
    {
        const std::string* textA = a.string();
        const std::string* textB = b.string();
        if (textA && textB)
            return *textA == *textB;
        return a == b;
    }

} // namespace

JSONHashTable::JSONHashTable(size_t capacity)
    : m_entries(capacity ? makeEntries(capacity, ::operator new(storageBytes(capacity))) : nullptr)
    , m_ownsEntries(capacity)
    , m_capacity(capacity)
    , m_modMultiplier(capacity ? UINT64_MAX / capacity + 1 : 0)
{
}

JSONHashTable::JSONHashTable(size_t capacity, void* storage)
    : m_entries(capacity ? makeEntries(capacity, storage) : nullptr)
    , m_capacity(capacity)
    , m_modMultiplier(capacity ? UINT64_MAX / capacity + 1 : 0)
{
}

size_t JSONHashTable::storageBytes(size_t capacity) { return capacity * sizeof(Entry); }

JSONHashTable::Entry* JSONHashTable::makeEntries(size_t capacity, void* storage)
{
    // Only the hashes are set: an empty entry's key and object are never constructed.
    auto* entries = static_cast<Entry*>(storage);
    for (size_t i = 0; i < capacity; ++i)
        new (&entries[i]) Entry();
    return entries;
}

JSONHashTable::~JSONHashTable()
{
    destroyAll();
    if (m_ownsEntries)
        ::operator delete(m_entries);
}

JSONHashTable::JSONHashTable(JSONHashTable&& other) noexcept
    : m_entries(std::exchange(other.m_entries, nullptr))
    , m_ownsEntries(std::exchange(other.m_ownsEntries, false))
    , m_capacity(std::exchange(other.m_capacity, 0))
    , m_modMultiplier(std::exchange(other.m_modMultiplier, 0))
    , m_count(std::exchange(other.m_count, 0))
{
}

JSONHashTable& JSONHashTable::operator=(JSONHashTable&& other) noexcept
{
    if (this != &other) {
        destroyAll();
        if (m_ownsEntries)
            ::operator delete(m_entries);
        m_entries = std::exchange(other.m_entries, nullptr);
        m_ownsEntries = std::exchange(other.m_ownsEntries, false);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_modMultiplier = std::exchange(other.m_modMultiplier, 0);
        m_count = std::exchange(other.m_count, 0);
    }
    return *this;
}

void JSONHashTable::destroyAll()
{
    // Only the values are destroyed: the entries themselves are about to be dropped or replaced.
    size_t remaining = m_count;
    for (size_t i = 0; remaining && i < m_capacity; ++i) {
        Entry& entry = m_entries[i];
        if (entry.hash) {
            entry.key.~Value();
            entry.object.~Value();
            --remaining;
        }
    }
}

void JSONHashTable::store(Entry& entry, uint64_t stored, base::Value&& key, base::Value&& object)
{
    new (&entry.key) base::Value(std::move(key));
    new (&entry.object) base::Value(std::move(object));
    entry.hash = stored;
    ++m_count;
}

void JSONHashTable::clear(Entry& entry)
{
    entry.key.~Value();
    entry.object.~Value();
    entry.hash = 0;
    --m_count;
}

size_t JSONHashTable::find(const base::Value& key, uint32_t hash) const
{
    if (!m_capacity)
        return NotFound;
    uint64_t stored = storedHash(hash);
    size_t index = home(stored);
    for (size_t i = 0; i < m_capacity; ++i) {
        const Entry& entry = m_entries[index];
        if (!entry.hash)
            return NotFound;
        if (entry.hash == stored && keysEqual(entry.key, key))
            return index;
        if (++index == m_capacity)
            index = 0;
    }
    return NotFound;
}

size_t JSONHashTable::findString(std::string_view key, uint32_t hash) const
{
    if (!m_capacity)
        return NotFound;
    uint64_t stored = storedHash(hash);
    size_t index = home(stored);
    for (size_t i = 0; i < m_capacity; ++i) {
        const Entry& entry = m_entries[index];
        if (!entry.hash)
            return NotFound;
        if (entry.hash == stored) {
            const std::string* text = entry.key.string();
            if (text && *text == key)
                return index;
        }
        if (++index == m_capacity)
            index = 0;
    }
    return NotFound;
}

void JSONHashTable::add(uint32_t hash, base::Value&& key, base::Value&& object)
{
    uint64_t stored = storedHash(hash);
    size_t index = home(stored);
    for (size_t i = 0; i < m_capacity; ++i) {
        Entry& entry = m_entries[index];
        if (entry.hash == stored && keysEqual(entry.key, key))
            remove(index);
        if (!entry.hash) {
            store(entry, stored, std::move(key), std::move(object));
            return;
        }
        if (++index == m_capacity)
            index = 0;
    }
}

void JSONHashTable::remove(size_t index)
{
    clear(m_entries[index]);
    // Re-add the rest of the probe cluster so that every key stays reachable from its home entry.
    for (size_t next = (index + 1) % m_capacity; m_entries[next].hash; next = (next + 1) % m_capacity) {
        Entry& entry = m_entries[next];
        uint64_t stored = entry.hash;
        base::Value key = std::move(entry.key);
        base::Value object = std::move(entry.object);
        clear(entry);
        add(static_cast<uint32_t>(stored), std::move(key), std::move(object));
    }
}

size_t JSONHashTable::nextOccupied(size_t index) const
{
    while (index < m_capacity && !m_entries[index].hash)
        ++index;
    return index;
}

void JSONHashTable::moveInto(JSONHashTable& other)
{
    for (size_t i = 0; i < m_capacity; ++i) {
        Entry& entry = m_entries[i];
        if (entry.hash) {
            other.add(static_cast<uint32_t>(entry.hash), std::move(entry.key), std::move(entry.object));
            clear(entry);
        }
    }
}

} // namespace json
