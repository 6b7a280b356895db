#include "json/JSONDictionary.h"

#include "json/JSONDictionaryEnumerator.h"
#include "json/JSONValueHash.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace json {

namespace {

    constexpr std::array<size_t, 40> Capacities { 0, 3, 7, 13, 23, 41, 71, 127, 191, 251, 383, 631, 1087, 1723, 2803,
        4523, 7351, 11959, 19447, 31231, 50683, 81919, 132607, 214519, 346607, 561109, 907759, 1468927, 2376191,
        3845119, 6221311, 10066421, 16287743, 26354171, 42641881, 68996069, 111638519, 180634607, 292272623,
        472907251 };

    constexpr uint64_t Occupied = uint64_t(1) << 32;

    uint64_t storedHash(uint32_t tableHash) { return Occupied | tableHash; }

    size_t homeIndex(uint64_t hash, size_t capacity)
    {
        return static_cast<uint32_t>(hash) % static_cast<uint32_t>(capacity);
    }

    bool keysEqual(const base::Value& a, const base::Value& b)
    {
        const std::string* textA = a.string();
        const std::string* textB = b.string();
        if (textA && textB)
            return *textA == *textB;
        return a == b;
    }

    // Keys are copied when stored, so a mutable container used as a key cannot change under the table.
    base::Value copiedKey(base::Value key)
    {
        if (key.isArray())
            return base::Value(key.array()->copy());
        if (key.isDictionary())
            return base::Value(key.dictionary()->copy());
        return key;
    }

} // namespace

size_t JSONDictionary::capacityForCount(size_t count)
{
    auto target = static_cast<size_t>(std::lround(std::floor(static_cast<double>(count) * 1.33)));
    auto found = std::lower_bound(Capacities.begin(), Capacities.end(), target);
    return found == Capacities.end() ? Capacities.back() : *found;
}

JSONDictionary::JSONDictionary(JSONDecoderKey, DecodedPair* pairs, size_t count, bool isMutable)
    : m_capacity(capacityForCount(count))
{
    if (m_capacity)
        m_entries.reset(new Entry[m_capacity]);
    for (size_t i = 0; i < count; ++i)
        add(storedHash(pairs[i].keyHash), std::move(pairs[i].key), std::move(pairs[i].object));
    m_mutations = isMutable ? 1 : 0;
}

size_t JSONDictionary::indexOfKey(const base::Value& key, uint64_t hash) const
{
    if (!m_capacity)
        return NotFound;
    size_t index = homeIndex(hash, m_capacity);
    for (size_t i = 0; i < m_capacity; ++i) {
        const Entry& entry = m_entries[index];
        if (!entry.hash)
            return NotFound;
        if (entry.hash == hash && keysEqual(entry.key, key))
            return index;
        if (++index == m_capacity)
            index = 0;
    }
    return NotFound;
}

const base::Value* JSONDictionary::objectForKey(const base::Value& key) const
{
    size_t index = indexOfKey(key, storedHash(tableHash(key)));
    return index == NotFound ? nullptr : &m_entries[index].object;
}

const base::Value* JSONDictionary::objectForStringKey(std::string_view key) const
{
    if (!m_capacity)
        return nullptr;
    uint64_t hash = storedHash(foldHash(hashBytes(key.data(), key.size())));
    size_t index = homeIndex(hash, m_capacity);
    for (size_t i = 0; i < m_capacity; ++i) {
        const Entry& entry = m_entries[index];
        if (!entry.hash)
            return nullptr;
        if (entry.hash == hash) {
            const std::string* text = entry.key.string();
            if (text && *text == key)
                return &entry.object;
        }
        if (++index == m_capacity)
            index = 0;
    }
    return nullptr;
}

void JSONDictionary::add(uint64_t hash, base::Value key, base::Value object)
{
    size_t index = homeIndex(hash, m_capacity);
    for (size_t i = 0; i < m_capacity; ++i) {
        Entry& entry = m_entries[index];
        if (entry.hash == hash && keysEqual(entry.key, key))
            removeEntry(index);
        if (!entry.hash) {
            entry.hash = hash;
            entry.key = std::move(key);
            entry.object = std::move(object);
            ++m_count;
            return;
        }
        if (++index == m_capacity)
            index = 0;
    }
}

void JSONDictionary::removeEntry(size_t index)
{
    m_entries[index] = Entry();
    --m_count;
    // Re-add the rest of the probe cluster so that every key stays reachable from its home entry.
    for (size_t next = (index + 1) % m_capacity; m_entries[next].hash; next = (next + 1) % m_capacity) {
        Entry moved = std::move(m_entries[next]);
        m_entries[next] = Entry();
        --m_count;
        add(moved.hash, std::move(moved.key), std::move(moved.object));
    }
}

bool JSONDictionary::nextEntry(size_t& cursor, const base::Value*& key, const base::Value*& value) const
{
    for (; cursor < m_capacity; ++cursor) {
        const Entry& entry = m_entries[cursor];
        if (entry.hash) {
            key = &entry.key;
            value = &entry.object;
            ++cursor;
            return true;
        }
    }
    return false;
}

std::shared_ptr<JSONDictionaryEnumerator> JSONDictionary::keyEnumerator() const
{
    return std::make_shared<JSONDictionaryEnumerator>(
        std::static_pointer_cast<const JSONDictionary>(shared_from_this()));
}

void JSONDictionary::resize(size_t capacity)
{
    std::unique_ptr<Entry[]> old = std::move(m_entries);
    size_t oldCapacity = m_capacity;
    m_entries.reset(new Entry[capacity]);
    m_capacity = capacity;
    m_count = 0;
    for (size_t i = 0; i < oldCapacity; ++i) {
        if (old[i].hash)
            add(old[i].hash, std::move(old[i].key), std::move(old[i].object));
    }
}

void JSONDictionary::setObject(base::Value value, base::Value key)
{
    if (!isMutable())
        raiseImmutable("setObject:forKey:");
    size_t needed = capacityForCount(m_count + 1);
    if (m_capacity < needed)
        resize(needed);
    key = copiedKey(std::move(key));
    uint64_t hash = storedHash(tableHash(key));
    add(hash, std::move(key), std::move(value));
    countMutation();
}

void JSONDictionary::removeObjectForKey(const base::Value& key)
{
    if (!isMutable())
        raiseImmutable("removeObjectForKey:");
    size_t index = indexOfKey(key, storedHash(tableHash(key)));
    if (index == NotFound)
        return;
    removeEntry(index);
    countMutation();
}

void JSONDictionary::countMutation()
{
    if (++m_mutations == 0)
        m_mutations = 1;
}

} // namespace json
