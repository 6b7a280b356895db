// security::KeychainStore: the keychain item store of this application's generic-password items. Where the
// session's Secret Service answers (a desktop's keyring), the items live there (SecretServiceItems); else in a
// file, the application's being "keychain" in the preferences folder under the data root. The application's
// store picks one at its first operation and says once, in the log, which; items an earlier run left in the
// file move into the Secret Service once it answers, and the file goes only when every item has moved. Either
// way the store holds nothing but this application's items, so a search over every item never sees another
// program's secrets.
//
// In the file, every operation reads the file (or the copy it last read, while that is provably still the file's
// content: see CachedItems) and every change rewrites it atomically (a new file with mode 0600 is written, flushed and
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
#include "security/SecretServiceItems.h"
#include "security/Status.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace security {

class KeychainStore {
public:
    static constexpr const char* FileName = "keychain";
    // How old the file must be before a copy of its items is kept (see CachedItems).
    static constexpr std::chrono::milliseconds DefaultSettle { 50 };

    // A store kept in `file`, or in `secrets` when given (`file` then only holds items to move there).
    explicit KeychainStore(std::filesystem::path file, std::chrono::nanoseconds settle = DefaultSettle,
        std::shared_ptr<SecretServiceItems> secrets = nullptr);
    // The application's store: the session's Secret Service where one answers, else the keychain file in the
    // preferences folder, looked up at each operation so that it follows a data root that changes (as tests
    // change it).
    static KeychainStore& shared();
    // Whether the items are kept in the Secret Service (for the application's store, once it has chosen).
    bool usesSecretService() const;

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
    // The first operation of the application's store picks where its items live.
    void chooseStore();
    // Moves the items of an earlier run's file into the Secret Service; the file stays when any cannot move.
    void moveFileItems(const std::filesystem::path& file);
    // The items, from the Secret Service or the file.
    Contents load(const std::filesystem::path& file);
    Status save(const std::filesystem::path& file, const std::vector<KeychainItem>& before,
        const std::vector<KeychainItem>& after);
    Contents read(const std::filesystem::path& file);
    Contents readFile(const std::filesystem::path& file) const;
    Status write(const std::filesystem::path& file, const std::vector<KeychainItem>& items);
    // Reads the items under the lock, lets `change` edit them and saves them when it returns Success;
    // otherwise returns what it or the read returned, and the file stays as it was.
    Status modify(const std::function<Status(std::vector<KeychainItem>&)>& change);

    mutable std::mutex m_mutex;
    std::filesystem::path m_file;
    CachedItems m_cache;
    std::shared_ptr<SecretServiceItems> m_secrets;
    bool m_chosen { true };
};

} // namespace security
