// security::CachedItems: the keychain store's copy of the items it last read from its file, handed out again
// only while the file at the path is provably the one it was read from. The copy holds that file open, so its
// inode cannot pass to a file written later; a file replaced (as every writer replaces it) therefore always
// shows a new inode, and one changed in place a new change time. A file younger than the settle time is not
// kept at all: a change within the file system's timestamp granularity could leave its times as they were.
// Used under the store's lock.
//
//   if (auto* items = cache.find(file)) return *items;
//   cache.keep(file, read.stamp, readStart, decodedItems);
#pragma once

#include "security/FileStamp.h"
#include "security/KeychainItem.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

namespace security {

class CachedItems {
public:
    explicit CachedItems(std::chrono::nanoseconds settle);
    ~CachedItems();
    CachedItems(const CachedItems&) = delete;
    CachedItems& operator=(const CachedItems&) = delete;

    // The items kept for `file`, when the file at that path is still the one they came from; else none.
    const std::vector<KeychainItem>* find(const std::filesystem::path& file) const;
    // Keeps the items decoded from `file`, whose open descriptor had `stamp`, read from `readStart` on
    // (taken before the file was opened). Keeps nothing when the file is too young or is no longer that one.
    void keep(const std::filesystem::path& file, const FileStamp& stamp,
        std::chrono::system_clock::time_point readStart, const std::vector<KeychainItem>& items);
    void forget();

private:
    std::chrono::nanoseconds m_settle;
    std::filesystem::path m_file;
    FileStamp m_stamp;
    std::vector<KeychainItem> m_items;
    int m_pin { -1 };
};

} // namespace security
