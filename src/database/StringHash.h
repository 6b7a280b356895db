// Hashing and comparison for maps keyed by text that are looked up with a std::string_view, without making
// a std::string per lookup: StringHash for exact keys (the statement cache), CaseInsensitiveHash and
// CaseInsensitiveEqual for column names, which match regardless of ASCII case as SQLite's names do.
//
//   std::unordered_map<std::string, int, CaseInsensitiveHash, CaseInsensitiveEqual> columns;
//   columns.find(std::string_view("NAME"));
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace database {

struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view> {}(text); }
};

constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string asciiLowercase(std::string_view text);

namespace detail {

    constexpr uint64_t everyByte(uint8_t byte) { return 0x0101010101010101ull * byte; }

    inline uint64_t loadWord(const char* bytes)
    {
        uint64_t word;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }

    // The `count` bytes (at most eight) at `bytes` as the low bytes of a word, the others 0, in two loads that
    // may overlap rather than a loop: the bytes loaded twice land on the same places.
    inline uint64_t loadShort(const char* bytes, size_t count)
    {
        if (count >= 4) {
            uint32_t head, tail;
            std::memcpy(&head, bytes, 4);
            std::memcpy(&tail, bytes + count - 4, 4);
            return head | (static_cast<uint64_t>(tail) << (8 * (count - 4)));
        }
        if (count == 0)
            return 0;
        auto byte = [&](size_t i) { return static_cast<uint64_t>(static_cast<uint8_t>(bytes[i])) << (8 * i); };
        return byte(0) | byte(count / 2) | byte(count - 1);
    }

    // The word with each of its bytes from 'A' to 'Z' in lower case, the others as they are: every byte at once.
    // The sums stay within their bytes, as each byte's top bit is cleared before them.
    constexpr uint64_t asciiLowerWord(uint64_t word)
    {
        uint64_t low = word & everyByte(0x7F);
        uint64_t fromA = low + everyByte(0x80 - 'A');
        uint64_t pastZ = low + everyByte(0x80 - 'Z' - 1);
        uint64_t upper = fromA & ~pastZ & ~word & everyByte(0x80);
        return word | (upper >> 2);
    }

} // namespace detail

// Whether `text` equals `lowercased` (already in lower case) regardless of ASCII case. Eight bytes at a time,
// as column names are read for every row.
[[nodiscard]] inline bool equalsLowercased(std::string_view text, std::string_view lowercased)
{
    size_t size = text.size();
    if (size != lowercased.size())
        return false;
    const char* a = text.data();
    const char* b = lowercased.data();
    if (size <= 8)
        return detail::asciiLowerWord(detail::loadShort(a, size)) == detail::loadShort(b, size);
    for (size_t i = 0; i + 8 < size; i += 8)
        if (detail::asciiLowerWord(detail::loadWord(a + i)) != detail::loadWord(b + i))
            return false;
    return detail::asciiLowerWord(detail::loadWord(a + size - 8)) == detail::loadWord(b + size - 8);
}

struct CaseInsensitiveHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const
    {
        size_t hash = 14695981039346656037ull;
        for (char c : text) {
            hash ^= static_cast<unsigned char>(asciiLower(c));
            hash *= 1099511628211ull;
        }
        return hash;
    }
};

struct CaseInsensitiveEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const
    {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (asciiLower(a[i]) != asciiLower(b[i]))
                return false;
        return true;
    }
};

} // namespace database
