// json::JSONHashTable: the open-addressing table behind JSONDictionary. Linear probing from the entry at
// (hash mod capacity); an entry is empty or holds a key, an object and the key's table hash. Removal re-adds
// the rest of the probe cluster so that every key stays reachable from its home entry. The table never grows
// by itself: JSONDictionary moves the pairs into a larger one. Keys and objects live only in occupied
// entries, so building and dropping a table touches no empty value. Not thread-safe while changing.
#pragma once

#include "base/Value.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>

namespace json {

class JSONHashTable {
public:
    static constexpr size_t NotFound = SIZE_MAX;

    explicit JSONHashTable(size_t capacity = 0);
    // A table in `storage` (storageBytes(capacity) bytes, owned by the caller and outliving the table).
    JSONHashTable(size_t capacity, void* storage);
    static size_t storageBytes(size_t capacity);
    ~JSONHashTable();
    JSONHashTable(JSONHashTable&& other) noexcept;
    JSONHashTable& operator=(JSONHashTable&& other) noexcept;

    size_t capacity() const { return m_capacity; }
    size_t count() const { return m_count; }

    // The index of the entry holding an equal key, or NotFound.
    size_t find(const base::Value& key, uint32_t hash) const;
    size_t findString(std::string_view key, uint32_t hash) const;
    // Adds the pair, first removing a pair with an equal key. The table must have an empty entry.
    void add(uint32_t hash, base::Value&& key, base::Value&& object);
    // The same for a pair read by the decoder: the key is made from its text, and the object constructed
    // in place by makeObject(base::Value* storage).
    template <typename MakeObject> void addDecoded(uint32_t hash, std::string_view key, MakeObject&& makeObject);
    void remove(size_t index);

    const base::Value& keyAt(size_t index) const { return m_entries[index].key; }
    const base::Value& objectAt(size_t index) const { return m_entries[index].object; }
    // The first occupied entry at or after `index`, or capacity() when there is none.
    size_t nextOccupied(size_t index) const;
    // Moves every pair, in table order, into `other`.
    void moveInto(JSONHashTable& other);

private:
    struct Entry {
        Entry() { }
        ~Entry() { }
        // 0 for an empty entry, whose key and object are not constructed; else the hash with bit 32 set.
        uint64_t hash { 0 };
        union {
            base::Value key;
        };
        union {
            base::Value object;
        };
    };

    // (hash mod capacity) by multiplication: division is the slowest step of a lookup otherwise.
    static constexpr uint64_t Occupied = uint64_t(1) << 32;
    static uint64_t storedHash(uint32_t hash) { return Occupied | hash; }
    static bool isStringKey(const base::Value& key, std::string_view text)
    {
        const std::string* string = key.string();
        return string && *string == text;
    }

    size_t home(uint64_t stored) const
    {
        uint64_t fraction = m_modMultiplier * static_cast<uint32_t>(stored);
        return static_cast<size_t>((static_cast<unsigned __int128>(fraction) * m_capacity) >> 64);
    }
    void store(Entry& entry, uint64_t stored, base::Value&& key, base::Value&& object);
    void clear(Entry& entry);
    void destroyAll();

    static Entry* makeEntries(size_t capacity, void* storage);

    Entry* m_entries { nullptr };
    bool m_ownsEntries { false };
    size_t m_capacity { 0 };
    uint64_t m_modMultiplier { 0 };
    size_t m_count { 0 };
};

template <typename MakeObject>
void JSONHashTable::addDecoded(uint32_t hash, std::string_view key, MakeObject&& makeObject)
{
    uint64_t stored = storedHash(hash);
    size_t index = home(stored);
    for (size_t i = 0; i < m_capacity; ++i) {
        Entry& entry = m_entries[index];
        if (entry.hash == stored && isStringKey(entry.key, key))
            remove(index);
        if (!entry.hash) {
            new (&entry.key) base::Value(key);
            try {
                makeObject(&entry.object);
            } catch (...) {
                entry.key.~Value();
                throw;
            }
            entry.hash = stored;
            ++m_count;
            return;
        }
        if (++index == m_capacity)
            index = 0;
    }
}

} // namespace json
