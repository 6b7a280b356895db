#include "json/JSONHashTable.h"

#include "json/FetchAhead.h"

#include <algorithm>
#include <array>
#include <cstdint>
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

    // The multiplier that maps a hash to (hash mod capacity): 2^64 / capacity, rounded up; 0 for no slots.
    constexpr uint64_t computeModMultiplier(size_t capacity) { return capacity ? UINT64_MAX / capacity + 1 : 0; }

    // Looked up for the small tables most objects have: a division costs more than the rest of making one.
    constexpr size_t TabulatedCapacities = 128;
    constexpr std::array<uint64_t, TabulatedCapacities> SmallModMultipliers = [] {
        std::array<uint64_t, TabulatedCapacities> table {};
        for (size_t capacity = 0; capacity < TabulatedCapacities; ++capacity)
            table[capacity] = computeModMultiplier(capacity);
        return table;
    }();

    uint64_t modMultiplier(size_t capacity)
    {
        return capacity < TabulatedCapacities ? SmallModMultipliers[capacity] : computeModMultiplier(capacity);
    }

} // namespace

size_t JSONHashTable::storageBytes(size_t capacity, size_t pairCapacity, bool ownsKeys)
{
    return capacity * sizeof(Slot) + pairCapacity * (sizeof(Pair) + (ownsKeys ? sizeof(base::Value) : 0));
}

JSONHashTable::JSONHashTable(size_t capacity, size_t pairCapacity, void* storage, bool ownsKeys)
    : m_capacity(capacity)
    , m_modMultiplier(modMultiplier(capacity))
{
    static_assert(sizeof(Slot) % alignof(Pair) == 0, "the pairs follow the slots");
    static_assert(sizeof(Pair) % alignof(base::Value) == 0, "the keys follow the pairs");
    if (!capacity)
        return;
    m_slots = static_cast<Slot*>(storage);
    std::fill_n(m_slots, capacity, Slot { 0, 0 });
    // The pairs follow the slots, and the owned keys the pairs; they are constructed one by one as they are
    // added.
    m_pairs = reinterpret_cast<Pair*>(m_slots + capacity);
    if (ownsKeys)
        m_keys = reinterpret_cast<base::Value*>(m_pairs + pairCapacity);
}

JSONHashTable::JSONHashTable(Linear, size_t pairCapacity, void* storage, bool ownsKeys)
    : m_linear(true)
{
    if (!pairCapacity)
        return;
    // The slots fill from 0 as pairs are added; the capacity counts them.
    m_slots = static_cast<Slot*>(storage);
    m_pairs = reinterpret_cast<Pair*>(m_slots + pairCapacity);
    if (ownsKeys)
        m_keys = reinterpret_cast<base::Value*>(m_pairs + pairCapacity);
}

JSONHashTable::JSONHashTable(size_t capacity)
    : JSONHashTable(
        capacity, capacity, capacity ? ::operator new(storageBytes(capacity, capacity, true)) : nullptr, true)
{
    m_ownedBlock = m_slots;
}

JSONHashTable::~JSONHashTable() { release(); }

JSONHashTable::JSONHashTable(JSONHashTable&& other) noexcept
    : m_slots(std::exchange(other.m_slots, nullptr))
    , m_pairs(std::exchange(other.m_pairs, nullptr))
    , m_keys(std::exchange(other.m_keys, nullptr))
    , m_capacity(std::exchange(other.m_capacity, 0))
    , m_modMultiplier(std::exchange(other.m_modMultiplier, 0))
    , m_count(std::exchange(other.m_count, 0))
    , m_ownedBlock(std::exchange(other.m_ownedBlock, nullptr))
    , m_plainPairs(std::exchange(other.m_plainPairs, true))
    , m_linear(std::exchange(other.m_linear, false))
    , m_linearHashBits(std::exchange(other.m_linearHashBits, 0))
{
}

JSONHashTable& JSONHashTable::operator=(JSONHashTable&& other) noexcept
{
    if (this != &other) {
        release();
        m_slots = std::exchange(other.m_slots, nullptr);
        m_pairs = std::exchange(other.m_pairs, nullptr);
        m_keys = std::exchange(other.m_keys, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_modMultiplier = std::exchange(other.m_modMultiplier, 0);
        m_count = std::exchange(other.m_count, 0);
        m_ownedBlock = std::exchange(other.m_ownedBlock, nullptr);
        m_plainPairs = std::exchange(other.m_plainPairs, true);
        m_linear = std::exchange(other.m_linear, false);
        m_linearHashBits = std::exchange(other.m_linearHashBits, 0);
    }
    return *this;
}

void JSONHashTable::destroyPairs()
{
    for (size_t i = 0; i < m_count && !m_plainPairs; ++i) {
        if (i + ContainersAhead < m_count)
            fetchContainer(m_pairs[i + ContainersAhead].object);
        if (m_keys)
            m_keys[i].~Value();
        m_pairs[i].object.~Value();
    }
}

void JSONHashTable::release()
{
    destroyPairs();
    ::operator delete(m_ownedBlock);
}

template <typename Matches> size_t JSONHashTable::probe(uint32_t hash, Matches matches) const
{
    if (m_linear) {
        for (size_t slot = 0; slot < m_capacity; ++slot) {
            if (m_slots[slot].hash == hash && matches(*m_pairs[slot].key))
                return slot;
        }
        return NotFound;
    }
    if (!m_capacity)
        return NotFound;
    size_t slot = home(hash);
    for (size_t i = 0; i < m_capacity; ++i, slot = next(slot)) {
        const Slot& candidate = m_slots[slot];
        if (!candidate.pair)
            return NotFound;
        if (candidate.hash == hash && matches(*m_pairs[candidate.pair - 1].key))
            return slot;
    }
    return NotFound;
}

size_t JSONHashTable::find(const base::Value& key, uint32_t hash) const
{
    return probe(hash, [&key](const base::Value& candidate) { return keysEqual(candidate, key); });
}

size_t JSONHashTable::findString(std::string_view key, uint32_t hash) const
{
    return probe(hash, [key](const base::Value& candidate) { return isStringKey(candidate, key); });
}

void JSONHashTable::add(uint32_t hash, base::Value&& key, base::Value&& object)
{
    size_t slot = home(hash);
    for (size_t i = 0; i < m_capacity; ++i, slot = next(slot)) {
        const Slot& candidate = m_slots[slot];
        if (candidate.pair && candidate.hash == hash && keysEqual(*m_pairs[candidate.pair - 1].key, key))
            remove(slot);
        if (!candidate.pair) {
            new (&m_pairs[m_count].object) base::Value(std::move(object));
            setKey(nullptr, [&key](base::Value* storage) { new (storage) base::Value(std::move(key)); });
            m_plainPairs = false;
            occupy(slot, hash);
            return;
        }
    }
}

size_t JSONHashTable::freeSlotFor(uint32_t hash, std::string_view keyText)
{
    size_t slot = home(hash);
    for (size_t i = 0; i < m_capacity; ++i, slot = next(slot)) {
        const Slot& candidate = m_slots[slot];
        if (candidate.pair && candidate.hash == hash && isStringKey(*m_pairs[candidate.pair - 1].key, keyText))
            remove(slot);
        if (!candidate.pair)
            return slot;
    }
    return slot;
}

void JSONHashTable::replaceObject(size_t slot)
{
    base::Value& spare = m_pairs[m_count].object;
    m_pairs[slot].object = std::move(spare);
    spare.~Value();
    m_plainPairs = false;
}

void JSONHashTable::place(Slot moved)
{
    size_t slot = home(moved.hash);
    while (m_slots[slot].pair)
        slot = next(slot);
    m_slots[slot] = moved;
}

void JSONHashTable::remove(size_t slot)
{
    uint32_t removed = m_slots[slot].pair;
    m_slots[slot] = Slot { 0, 0 };
    m_plainPairs = false;
    // Keep the pairs dense: the last pair takes the place of the removed one.
    uint32_t last = static_cast<uint32_t>(m_count);
    if (removed != last) {
        if (m_keys)
            m_keys[removed - 1] = std::move(m_keys[last - 1]);
        else
            m_pairs[removed - 1].key = m_pairs[last - 1].key;
        m_pairs[removed - 1].object = std::move(m_pairs[last - 1].object);
        for (size_t i = 0; i < m_capacity; ++i) {
            if (m_slots[i].pair == last) {
                m_slots[i].pair = removed;
                break;
            }
        }
    }
    if (m_keys)
        m_keys[last - 1].~Value();
    m_pairs[last - 1].object.~Value();
    --m_count;
    // Re-add the rest of the probe cluster so that every key stays reachable from its home slot.
    for (size_t following = next(slot); m_slots[following].pair; following = next(following)) {
        Slot moved = m_slots[following];
        m_slots[following] = Slot { 0, 0 };
        place(moved);
    }
}

size_t JSONHashTable::nextOccupied(size_t slot) const
{
    while (slot < m_capacity && !m_slots[slot].pair)
        ++slot;
    return slot;
}

void JSONHashTable::moveInto(JSONHashTable& other)
{
    for (size_t slot = 0; slot < m_capacity; ++slot) {
        if (m_slots[slot].pair) {
            size_t index = m_slots[slot].pair - 1;
            base::Value key = m_keys ? std::move(m_keys[index]) : *m_pairs[index].key;
            other.add(m_slots[slot].hash, std::move(key), std::move(m_pairs[index].object));
        }
    }
}

} // namespace json
