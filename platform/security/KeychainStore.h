// security::KeychainStore: the keychain item store, a file of this application's generic-password items.
// The application's store is the file "keychain" in the preferences folder under the data root; it holds nothing but
// this application's items, so a search over every item never sees another program's secrets.
//
// Every operation reads the file (or the copy it last read, while that is provably still the file's content:
// see CachedItems) and every change rewrites it atomically (a new file with mode 0600 is written, flushed and
// renamed over the old one; a change that leaves every item as it was writes nothing), so a crash or a full
// disk mid-write leaves the items already saved intact, and a failed write is reported, never ignored. A file
// that is not a keychain file is moved aside (to "keychain.corrupt-N" beside it) and the store starts empty.
//
// Thread: any; operations are serialized by the store. They touch the disk, so they are quick but not free.
//
//   auto& store = security::KeychainStore::shared();
//   std::optional<base::Value> password;
//   if (store.copyMatching(*query, &password) == security::status::Success) use(*password->data());
#pragma once

#include "base/values/Dictionary.h"
#include "base/values/Value.h"
#include "security/CachedItems.h"
#include "security/KeychainItem.h"
#include "security/Status.h"

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace security {

class KeychainStore {
public:
    static constexpr const char* FileName = "keychain";
    // How old the file must be before a copy of its items is kept (see CachedItems).
    static constexpr std::chrono::milliseconds DefaultSettle { 50 };

    // A store kept in `file`.
    explicit KeychainStore(std::filesystem::path file, std::chrono::nanoseconds settle = DefaultSettle);
    // The application's store: the keychain file in the preferences folder, looked up at each operation so
    // that it follows a data root that changes (as tests change it).
    static KeychainStore& shared();

    KeychainStore(const KeychainStore&) = delete;
    KeychainStore& operator=(const KeychainStore&) = delete;

    std::filesystem::path filePath() const;

    // Finds the items the query selects (see ItemQuery). With a result slot, fills it as the query asks:
    // the data, the attribute dictionary, or a dictionary of both; an array of those under MatchLimitAll.
    // ItemNotFound when nothing matches.
    Status copyMatching(const base::Dictionary& query, std::optional<base::Value>* result = nullptr);
    // Adds one item (see ItemAttributes::itemToAdd); DuplicateItem when one of its identity exists.
    Status add(const base::Dictionary& attributes);
    // Applies the change to every item the query selects; ItemNotFound when none.
    Status update(const base::Dictionary& query, const base::Dictionary& changes);
    // Removes every item the query selects; ItemNotFound when none.
    Status remove(const base::Dictionary& query);

private:
    KeychainStore();

    struct Contents {
        Status status { status::Success };
        std::vector<KeychainItem> items;
        // The file's stamp, for items decoded from a file.
        std::optional<FileStamp> stamp;
    };
    Contents read(const std::filesystem::path& file);
    Contents readFile(const std::filesystem::path& file) const;
    Status write(const std::filesystem::path& file, const std::vector<KeychainItem>& items);
    // Reads the items under the lock, lets `change` edit them and saves them when it returns Success;
    // otherwise returns what it or the read returned, and the file stays as it was.
    Status modify(const std::function<Status(std::vector<KeychainItem>&)>& change);

    std::mutex m_mutex;
    std::filesystem::path m_file;
    CachedItems m_cache;
};

} // namespace security
