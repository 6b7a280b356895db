#include "json/JSONDictionary.h"

#include "json/JSONDictionaryEnumerator.h"
#include "json/JSONValueHash.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace json {

namespace {

    constexpr std::array<size_t, 40> Capacities { 0, 3, 7, 13, 23, 41, 71, 127, 191, 251, 383, 631, 1087, 1723, 2803,
        4523, 7351, 11959, 19447, 31231, 50683, 81919, 132607, 214519, 346607, 561109, 907759, 1468927, 2376191,
        3845119, 6221311, 10066421, 16287743, 26354171, 42641881, 68996069, 111638519, 180634607, 292272623,
        472907251 };

    // Keys are copied when stored, so a mutable container used as a key cannot change under the table.
    base::Value copiedKey(base::Value key)
    {
        if (key.isArray())
            return base::Value(key.array()->copy());
        if (key.isDictionary())
            return base::Value(key.dictionary()->copy());
        return key;
    }

    // floor(count x 1.33), in integers, taken up to the next listed size.
    constexpr size_t searchCapacity(size_t count)
    {
        size_t target = count * 133 / 100;
        auto found = std::lower_bound(Capacities.begin(), Capacities.end(), target);
        return found == Capacities.end() ? Capacities.back() : *found;
    }

    // The sizes for the small counts most objects have, looked up rather than searched.
    constexpr size_t TabulatedCounts = 64;
    constexpr std::array<uint8_t, TabulatedCounts> SmallCapacities = [] {
        std::array<uint8_t, TabulatedCounts> table {};
        for (size_t count = 0; count < TabulatedCounts; ++count)
            table[count] = static_cast<uint8_t>(searchCapacity(count));
        return table;
    }();

} // namespace

size_t JSONDictionary::capacityForCount(size_t count)
{
    return count < TabulatedCounts ? SmallCapacities[count] : searchCapacity(count);
}

JSONDictionary::JSONDictionary(void* const& storage, JSONDecoderKey, size_t count, bool isMutable)
    : m_table(makeTable(storage, count, isMutable))
    , m_mutations(isMutable ? 1 : 0)
{
}

JSONHashTable JSONDictionary::makeTable(void* storage, size_t count, bool isMutable)
{
    if (isLinear(count, isMutable))
        return JSONHashTable(JSONHashTable::Linear(), count, storage, isMutable);
    return JSONHashTable(capacityForCount(count), pairCapacity(count, isMutable), storage, isMutable);
}

const base::Value* JSONDictionary::objectForKey(const base::Value& key) const
{
    size_t index = m_table.find(key, tableHash(key));
    return index == JSONHashTable::NotFound ? nullptr : &m_table.objectAt(index);
}

const base::Value* JSONDictionary::objectForStringKey(std::string_view key) const
{
    size_t index = m_table.findString(key, foldHash(hashString(key)));
    return index == JSONHashTable::NotFound ? nullptr : &m_table.objectAt(index);
}

bool JSONDictionary::nextEntry(size_t& cursor, const base::Value*& key, const base::Value*& value) const
{
    cursor = m_table.nextOccupied(cursor);
    if (cursor >= m_table.capacity())
        return false;
    key = &m_table.keyAt(cursor);
    value = &m_table.objectAt(cursor);
    ++cursor;
    return true;
}

std::shared_ptr<JSONDictionaryEnumerator> JSONDictionary::keyEnumerator() const
{
    return std::make_shared<JSONDictionaryEnumerator>(
        std::static_pointer_cast<const JSONDictionary>(shared_from_this()));
}

void JSONDictionary::setObject(base::Value value, base::Value key)
{
    if (!isMutable())
        raiseImmutable("setObject:forKey:");
    size_t needed = capacityForCount(m_table.count() + 1);
    if (m_table.capacity() < needed) {
        JSONHashTable larger(needed);
        m_table.moveInto(larger);
        m_table = std::move(larger);
    }
    key = copiedKey(std::move(key));
    uint32_t hash = tableHash(key);
    m_table.add(hash, std::move(key), std::move(value));
    countMutation();
}

void JSONDictionary::removeObjectForKey(const base::Value& key)
{
    if (!isMutable())
        raiseImmutable("removeObjectForKey:");
    size_t index = m_table.find(key, tableHash(key));
    if (index == JSONHashTable::NotFound)
        return;
    m_table.remove(index);
    countMutation();
}

void JSONDictionary::countMutation()
{
    if (++m_mutations == 0)
        m_mutations = 1;
}

} // namespace json
