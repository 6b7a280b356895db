// json::StringInterner: the strings of the document being decoded, one DocumentString per distinct text,
// made in the document's arena, so that the many objects of a reply that repeat the same few keys and
// values (field names, enum-like values) share them instead of each holding copies. It looks strings up by
// their table hash (see JSONValueHash.h), which the decoder computes for keys while reading them. A parser
// keeps one and starts it afresh for each document; one thread at a time.
//
//   interner.start(arena, text.size());
//   const json::DocumentString& key = interner.string(keyHash, "DeviceID"); // the same for every "DeviceID"
#pragma once

#include "json/DocumentArena.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace json {

class StringInterner {
public:
    // Forgets the strings of the previous document; new ones of this one, of `documentBytes`, are made in
    // `arena`.
    void start(DocumentArena& arena, size_t documentBytes);
    // The document's string with these bytes, whose table hash is `hash`. A string met before is usually in
    // its home entry, which is tested inline.
    const DocumentString& string(uint32_t hash, std::string_view bytes)
    {
        const Entry& home = m_entries[hash & m_mask];
        if (home.generation == m_generation && home.hash == hash && holds(home, bytes))
            return *home.string;
        return findOrMake(hash, bytes);
    }
    // Ends the document: no string is made in its arena any more.
    void finish();

private:
    struct Entry {
        uint32_t hash;
        // The document the entry belongs to: entries of earlier ones count as empty.
        uint32_t generation;
        const DocumentString* string;
    };

    static bool holds(const Entry& entry, std::string_view bytes)
    {
        const std::string& text = entry.string->storage.text();
        return text.size() == bytes.size() && sameBytes(text.data(), bytes.data(), bytes.size());
    }

    // Whether the `length` bytes at `a` and `b` are equal, by a few overlapping loads for texts of up to 16.
    static bool sameBytes(const char* a, const char* b, size_t length)
    {
        if (length >= 8 && length <= 16)
            return load<uint64_t>(a) == load<uint64_t>(b)
                && load<uint64_t>(a + length - 8) == load<uint64_t>(b + length - 8);
        if (length >= 4 && length < 8)
            return load<uint32_t>(a) == load<uint32_t>(b)
                && load<uint32_t>(a + length - 4) == load<uint32_t>(b + length - 4);
        if (length > 0 && length < 4)
            return a[0] == b[0] && a[length / 2] == b[length / 2] && a[length - 1] == b[length - 1];
        return std::memcmp(a, b, length) == 0;
    }
    template <typename T> static T load(const char* p)
    {
        T value;
        std::memcpy(&value, p, sizeof value);
        return value;
    }

    const DocumentString& findOrMake(uint32_t hash, std::string_view bytes);
    void resize(size_t entries);
    void insert(const Entry& entry);

    DocumentArena* m_arena { nullptr };
    // A power-of-two number of entries, probed linearly from (hash & m_mask).
    std::vector<Entry> m_entries { std::vector<Entry>(1) };
    size_t m_mask { 0 };
    size_t m_count { 0 };
    uint32_t m_generation { 1 };
};

} // namespace json
