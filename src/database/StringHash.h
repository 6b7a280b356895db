// Hashing and comparison for maps keyed by text that are looked up with a std::string_view, without making
// a std::string per lookup: StringHash for exact keys (the statement cache), CaseInsensitiveHash and
// CaseInsensitiveEqual for column names, which match regardless of ASCII case as SQLite's names do.
//
//   std::unordered_map<std::string, int, CaseInsensitiveHash, CaseInsensitiveEqual> columns;
//   columns.find(std::string_view("NAME"));
#pragma once

#include <cstddef>
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

// Whether `text` equals `lowercased` (already in lower case) regardless of ASCII case.
[[nodiscard]] inline bool equalsLowercased(std::string_view text, std::string_view lowercased)
{
    if (text.size() != lowercased.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != lowercased[i] && asciiLower(text[i]) != lowercased[i])
            return false;
    return true;
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
