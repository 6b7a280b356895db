// base::StringTable: a table of localised texts read from a strings file:
//
//   /* comment */  // comment
//   "key" = "value";
//   plain_key = "value with \"quotes\", \n, \t, \\ and \U00e9";
//   "key that is its own value";
//
// Files in UTF-8 (a byte-order mark is skipped) or UTF-16 with a byte-order mark are read. A malformed entry
// is skipped up to the next ";" and reading goes on; a later entry replaces an earlier one with the same key.
// Immutable once read; usable on any thread.
//
//   auto table = base::StringTable::load(resources / "en.lproj" / "Localizable.strings");
//   std::string text = table ? table->lookup("loading").value_or("loading") : "loading";
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace base {

class StringTable {
public:
    StringTable() = default;
    static StringTable parse(std::string_view text);
    // Nothing when the file cannot be read or is not text in a supported encoding.
    [[nodiscard]] static std::optional<StringTable> load(const std::filesystem::path& path);

    // Every "<name>.strings" file of a folder (a language's "<language>.lproj") as one table, the files read
    // in name order; a key in two files keeps the first file's text. Files that cannot be read are passed
    // over; an unreadable folder gives an empty table.
    static StringTable loadFolder(const std::filesystem::path& folder);

    [[nodiscard]] std::optional<std::string> lookup(std::string_view key) const;
    size_t size() const { return m_entries.size(); }
    // The keys, in no particular order.
    std::vector<std::string> keys() const;

private:
    std::unordered_map<std::string, std::string> m_entries;
};

} // namespace base
