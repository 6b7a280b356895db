// json::JSONHashTable: the open-addressing table behind JSONDictionary. Linear probing from the slot at
// (hash mod capacity); a slot is empty or holds a key's table hash and the place of its pair. The pairs
// themselves are kept densely, apart from the slots, so that the probes run over a small array and dropping a
// table touches only live values. A pair points to its key: a table either owns its keys, kept beside the
// pairs in the same order, or shares keys that outlive it (a decoded document's, see StringInterner.h). Removal re-adds
// the rest of the probe cluster, so every key stays reachable from its home slot. Table order (slot 0 upward) is the
// enumeration order. The table never grows by itself: JSONDictionary moves the pairs into a larger one. Not thread-safe
// while changing.
//
// A small table that the decoder fills and nobody changes may be linear instead: its slots are its pairs' hashes in
// the order added, with no empty ones, and a lookup compares every hash. Making one costs no hashing into slots,
// and for a few pairs a lookup costs no more. Its order is the order of the document.
#pragma once

#include "base/values/Value.h"
#include "json/DocumentArena.h"
#include "json/PlainValue.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>

namespace json {

class JSONHashTable {
public:
    static constexpr size_t NotFound = SIZE_MAX;

    // A table of `capacity` slots, with room for as many pairs and their keys, in storage of its own.
    explicit JSONHashTable(size_t capacity = 0);
    // A table of `capacity` slots in `storage`: storageBytes(capacity, pairCapacity, ownsKeys) bytes, owned by
    // the caller and outliving the table, with room for the `pairCapacity` pairs the caller will add at most
    // (and their keys, when the table owns them).
    JSONHashTable(size_t capacity, size_t pairCapacity, void* storage, bool ownsKeys);
    // A linear table in `storage` (storageBytes(pairCapacity, pairCapacity, ownsKeys) bytes), for at most
    // `pairCapacity` pairs added by addDecoded() alone.
    struct Linear { };
    JSONHashTable(Linear, size_t pairCapacity, void* storage, bool ownsKeys);
    static size_t storageBytes(size_t capacity, size_t pairCapacity, bool ownsKeys);
    ~JSONHashTable();
    JSONHashTable(JSONHashTable&& other) noexcept;
    JSONHashTable& operator=(JSONHashTable&& other) noexcept;

    size_t capacity() const { return m_capacity; }
    size_t count() const { return m_count; }

    // The slot holding an equal key, or NotFound.
    size_t find(const base::Value& key, uint32_t hash) const;
    size_t findString(std::string_view key, uint32_t hash) const;
    // Adds the pair to a table that owns its keys, first removing a pair with an equal key. There must be
    // room for one more pair.
    void add(uint32_t hash, base::Value&& key, base::Value&& object);
    // The same for a pair read by the decoder, of any table, whose key is the document's string `key`: an
    // owned key borrows its storage, a shared one is its Value. The object is constructed in place by
    // makeObject(base::Value* storage), and `plainObject` tells whether it is plain (see PlainValue.h).
    template <typename MakeObject>
    void addDecoded(uint32_t hash, const DocumentString& key, bool plainObject, MakeObject&& makeObject);
    void remove(size_t slot);

    const base::Value& keyAt(size_t slot) const { return *pairAt(slot).key; }
    const base::Value& objectAt(size_t slot) const { return pairAt(slot).object; }
    // The first occupied slot at or after `slot`, or capacity() when there is none.
    size_t nextOccupied(size_t slot) const;
    // Moves every pair, in table order, into `other`.
    void moveInto(JSONHashTable& other);

private:
    struct Slot {
        uint32_t hash;
        // The pair's index + 1; 0 for an empty slot.
        uint32_t pair;
    };
    struct Pair {
        const base::Value* key;
        base::Value object;
    };

    static bool isStringKey(const base::Value& key, std::string_view text)
    {
        const std::string* string = key.string();
        return string && *string == text;
    }
    // (hash mod capacity) by multiplication: division is the slowest step of a lookup otherwise.
    size_t home(uint32_t hash) const
    {
        uint64_t fraction = m_modMultiplier * hash;
        return static_cast<size_t>((static_cast<unsigned __int128>(fraction) * m_capacity) >> 64);
    }
    size_t next(size_t slot) const { return slot + 1 == m_capacity ? 0 : slot + 1; }
    // The slot whose pair's key `matches` says yes to, probing from the hash's home slot; NotFound at the
    // first empty slot.
    template <typename Matches> size_t probe(uint32_t hash, Matches matches) const;
    const Pair& pairAt(size_t slot) const { return m_pairs[m_slots[slot].pair - 1]; }
    // Points the pair at the end of the pairs, its object already constructed, to its key: the owned one
    // made by makeKey(base::Value* storage), or `sharedKey`.
    template <typename MakeKey> void setKey(const base::Value* sharedKey, MakeKey&& makeKey)
    {
        if (!m_keys) {
            m_pairs[m_count].key = sharedKey;
            return;
        }
        try {
            makeKey(&m_keys[m_count]);
        } catch (...) {
            m_pairs[m_count].object.~Value();
            throw;
        }
        m_pairs[m_count].key = &m_keys[m_count];
    }
    // Places a pair already constructed at the end of the pairs into `slot`.
    void occupy(size_t slot, uint32_t hash)
    {
        m_slots[slot] = Slot { hash, static_cast<uint32_t>(m_count + 1) };
        ++m_count;
    }
    // The empty slot where a pair with this key goes, after removing a pair with an equal key.
    size_t freeSlotFor(uint32_t hash, std::string_view keyText);
    // In a linear table: the slot of the pair with an equal key, or NotFound; notes the hash as added. Only a
    // hash whose bit is already noted is looked for.
    size_t findRepeat(uint32_t hash, std::string_view keyText)
    {
        uint64_t bit = uint64_t(1) << (hash & 63);
        bool noted = m_linearHashBits & bit;
        m_linearHashBits |= bit;
        if (!noted)
            return NotFound;
        for (size_t slot = 0; slot < m_count; ++slot) {
            if (m_slots[slot].hash == hash && isStringKey(*m_pairs[slot].key, keyText)) [[unlikely]]
                return slot;
        }
        return NotFound;
    }
    // In a linear table: a repeated key keeps its place and takes the later object, made after the pairs
    // (there is room, as the repeat is not counted) and moved over.
    void replaceObject(size_t slot);
    void place(Slot slot);
    void destroyPairs();
    void release();

    Slot* m_slots { nullptr };
    Pair* m_pairs { nullptr };
    // The owned keys, the key of pair i at i; null when the table shares its keys.
    base::Value* m_keys { nullptr };
    size_t m_capacity { 0 };
    uint64_t m_modMultiplier { 0 };
    size_t m_count { 0 };
    // The block this table allocated, or null when its storage is the caller's.
    void* m_ownedBlock { nullptr };
    // Whether every object and owned key is plain (see PlainValue.h) and so needs no destroying; only
    // tables filled by the decoder alone, whose pairs never moved, count theirs (a moved borrowed text takes
    // a reference, see StringReference.h).
    bool m_plainPairs { true };
    // A linear table's capacity is its count: one slot per pair, in the order added.
    bool m_linear { false };
    // A linear table notes bit (hash mod 64) of each hash added, so that a repeated key is looked for only when
    // its bit is noted already.
    uint64_t m_linearHashBits { 0 };
};

template <typename MakeObject>
void JSONHashTable::addDecoded(uint32_t hash, const DocumentString& key, bool plainObject, MakeObject&& makeObject)
{
    std::string_view keyText = key.storage.text();
    size_t slot = m_linear ? m_count : freeSlotFor(hash, keyText);
    size_t repeated = m_linear ? findRepeat(hash, keyText) : NotFound;
    makeObject(&m_pairs[m_count].object);
    if (repeated != NotFound) [[unlikely]] {
        replaceObject(repeated);
        return;
    }
    // Keys borrow the document's strings, so they are plain like its texts.
    setKey(&key.value,
        [&key](base::Value* storage) { new (storage) base::Value(base::StringReference::Borrow {}, key.storage); });
    m_plainPairs &= plainObject;
    occupy(slot, hash);
    if (m_linear)
        ++m_capacity;
}

} // namespace json
