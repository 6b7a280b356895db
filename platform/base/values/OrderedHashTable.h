// base::OrderedHashTable: the storage of the plain dictionaries. Pairs stay in insertion order in one vector
// (removed pairs leave a gap until enough gaps pile up to compact); an open-addressing index of positions,
// built once the table outgrows a short linear scan, finds keys by hash. Text keys can be looked up from a
// string_view without building a Value. Not thread-safe for writes: it belongs to its dictionary.
//
//   base::OrderedHashTable table;
//   table.set(base::Value("name"), base::Value("Lumet"));
//   const base::Value* name = table.findString("name");
#pragma once

#include "base/values/Dictionary.h"
#include "base/values/Value.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace base {

class OrderedHashTable {
public:
    OrderedHashTable() = default;
    // A later pair with an equal key replaces the value of the earlier one and keeps its place.
    explicit OrderedHashTable(Dictionary::Pairs pairs);

    size_t count() const { return m_count; }
    const Value* find(const Value& key) const;
    const Value* findString(std::string_view key) const;
    // Replaces the value of an equal key in place, else appends the pair.
    void set(Value key, Value value);
    // Whether a pair was removed.
    [[nodiscard]] bool remove(const Value& key);
    // The first pair at or after position `cursor`; moves `cursor` past it.
    bool next(size_t& cursor, const Value*& key, const Value*& value) const;

private:
    struct Entry {
        Value key;
        Value value;
        size_t hash;
        bool removed;
    };
    // An index slot: the upper half of the key's hash (to skip most mismatches without touching the entry)
    // and the entry's position plus one (0 marks a free slot).
    struct Slot {
        uint32_t tag;
        uint32_t position;
    };
    static constexpr size_t notFound = SIZE_MAX;

    template <typename Matches> size_t findPosition(size_t hash, Matches matches) const;
    void append(Value key, Value value, size_t hash);
    void placeInIndex(size_t hash, size_t position);
    void eraseFromIndex(size_t hash, size_t position);
    void rebuildIndex(size_t capacityFor);
    void compact();

    std::vector<Entry> m_entries;
    std::vector<Slot> m_slots;
    size_t m_count { 0 };
    size_t m_removed { 0 };
};

} // namespace base
