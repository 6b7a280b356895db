#include "security/KeychainStore.h"

#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "base/values/Array.h"
#include "security/ItemAttributes.h"
#include "security/ItemQuery.h"
#include "security/KeychainFile.h"
#include "security/StoredFile.h"

#include <algorithm>
#include <utility>

namespace security {

namespace {

    // A keychain holds a few small secrets; a file far larger than any real one is not a keychain file.
    constexpr size_t MaxFileBytes = 8 << 20;

    base::Value resultFor(const KeychainItem& item, const ItemQuery& query)
    {
        if (query.returnsAttributes())
            return base::Value(ItemAttributes::describe(item, query.returnsData()));
        return base::Value(item.data);
    }

} // namespace

KeychainStore::KeychainStore()
    : m_cache(DefaultSettle)
    , m_chosen(false)
{
}

KeychainStore::KeychainStore(
    std::filesystem::path file, std::chrono::nanoseconds settle, std::shared_ptr<SecretServiceItems> secrets)
    : m_file(std::move(file))
    , m_cache(settle)
    , m_secrets(std::move(secrets))
{
}

KeychainStore& KeychainStore::shared()
{
    static KeychainStore store;
    return store;
}

std::filesystem::path KeychainStore::filePath() const
{
    return m_file.empty() ? base::Paths::preferences() / FileName : m_file;
}

bool KeychainStore::usesSecretService() const
{
    std::lock_guard lock(m_mutex);
    return m_secrets != nullptr;
}

void KeychainStore::chooseStore()
{
    if (std::exchange(m_chosen, true))
        return;
    std::string reason;
    m_secrets = SecretServiceItems::connect(&reason);
    if (m_secrets)
        base::log("keychain: passwords are kept in the session's Secret Service");
    else
        base::log("keychain: " + reason + "; passwords are kept in the keychain file under the data root (0600)");
}

void KeychainStore::moveFileItems(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return;
    Contents left = read(file);
    m_cache.forget();
    if (left.status != status::Success)
        return;
    SecretServiceItems::Contents kept = m_secrets->read();
    if (kept.status != status::Success)
        return;
    // An item the Secret Service already holds is newer than the file's copy of it.
    std::vector<KeychainItem> merged = kept.items;
    for (KeychainItem& item : left.items) {
        if (std::ranges::none_of(merged, [&](const KeychainItem& one) { return one.hasSameIdentity(item); }))
            merged.push_back(std::move(item));
    }
    if (m_secrets->write(kept.items, merged) != status::Success) {
        base::log("keychain: the items of " + file.string() + " could not move to the Secret Service; the file stays");
        return;
    }
    if (!std::filesystem::remove(file, error) && error)
        base::log("keychain: " + file.string() + " moved to the Secret Service but cannot be removed");
    else
        base::log("keychain: moved the items of " + file.string() + " to the Secret Service");
}

KeychainStore::Contents KeychainStore::load(const std::filesystem::path& file)
{
    chooseStore();
    if (!m_secrets)
        return read(file);
    moveFileItems(file);
    SecretServiceItems::Contents kept = m_secrets->read();
    return { kept.status, std::move(kept.items), std::nullopt };
}

Status KeychainStore::save(
    const std::filesystem::path& file, const std::vector<KeychainItem>& before, const std::vector<KeychainItem>& after)
{
    return m_secrets ? m_secrets->write(before, after) : write(file, after);
}

// A sign-in reads the file half a dozen times in one go; a copy still known current saves opening and
// decoding it each time.
KeychainStore::Contents KeychainStore::read(const std::filesystem::path& file)
{
    if (const auto* items = m_cache.find(file))
        return { status::Success, *items, std::nullopt };
    auto readStart = std::chrono::system_clock::now();
    Contents contents = readFile(file);
    m_cache.forget();
    if (contents.stamp)
        m_cache.keep(file, *contents.stamp, readStart, contents.items);
    return contents;
}

KeychainStore::Contents KeychainStore::readFile(const std::filesystem::path& file) const
{
    using Outcome = StoredFile::ReadResult::Outcome;
    StoredFile::ReadResult read = StoredFile::read(file, MaxFileBytes);
    if (read.outcome == Outcome::Missing)
        return {};
    if (read.outcome == Outcome::Failed) {
        base::log("keychain: cannot read " + file.string() + ": " + read.reason);
        return { status::NotAvailable, {}, std::nullopt };
    }
    if (read.outcome == Outcome::Read) {
        if (auto items = KeychainFile::decode(read.bytes))
            return { status::Success, std::move(*items), read.stamp };
    }
    std::string reason;
    std::filesystem::path aside = StoredFile::moveAside(file, &reason);
    if (aside.empty()) {
        base::log("keychain: " + file.string() + " is not a keychain file and cannot be moved aside: " + reason);
        return { status::NotAvailable, {}, std::nullopt };
    }
    base::log(
        "keychain: " + file.string() + " is not a keychain file; moved it to " + aside.string() + " and started empty");
    return {};
}

Status KeychainStore::write(const std::filesystem::path& file, const std::vector<KeychainItem>& items)
{
    m_cache.forget();
    // What an earlier write cut short by a crash left behind is of no use to anyone.
    base::Files::removeStaleTemporaries(file);
    if (!base::Files::writeAtomically(file, KeychainFile::encode(items), 0600)) {
        base::log("keychain: cannot save " + file.string());
        return status::NotAvailable;
    }
    return status::Success;
}

Status KeychainStore::copyMatching(const base::Dictionary& query, std::optional<base::Value>* result)
{
    auto parsed = ItemQuery::parse(query);
    if (!parsed)
        return status::Param;
    std::lock_guard lock(m_mutex);
    Contents contents = load(filePath());
    if (contents.status != status::Success)
        return contents.status;
    std::vector<base::Value> found;
    for (const KeychainItem& item : contents.items) {
        if (!parsed->matches(item))
            continue;
        found.push_back(resultFor(item, *parsed));
        if (!parsed->returnsAll())
            break;
    }
    if (found.empty())
        return status::ItemNotFound;
    if (result && (parsed->returnsData() || parsed->returnsAttributes()))
        *result = parsed->returnsAll() ? base::Value(base::Array::make(std::move(found))) : found.front();
    return status::Success;
}

Status KeychainStore::modify(const std::function<Status(std::vector<KeychainItem>&)>& change)
{
    std::lock_guard lock(m_mutex);
    std::filesystem::path file = filePath();
    Contents contents = load(file);
    if (contents.status != status::Success)
        return contents.status;
    const std::vector<KeychainItem> before = contents.items;
    Status changed = change(contents.items);
    if (changed != status::Success)
        return changed;
    // Saving what the store already holds (the same password stored again at each sign-in) would only cost
    // two flushes to disk or a round of calls to the Secret Service.
    if (contents.items == before)
        return status::Success;
    return save(file, before, contents.items);
}

Status KeychainStore::add(const base::Dictionary& attributes)
{
    auto item = ItemAttributes::itemToAdd(attributes);
    if (!item)
        return status::Param;
    return modify([&](std::vector<KeychainItem>& items) {
        for (const KeychainItem& existing : items)
            if (existing.hasSameIdentity(*item))
                return status::DuplicateItem;
        items.push_back(std::move(*item));
        return status::Success;
    });
}

Status KeychainStore::update(const base::Dictionary& query, const base::Dictionary& changes)
{
    auto parsed = ItemQuery::parse(query);
    auto change = ItemAttributes::change(changes);
    if (!parsed || !change)
        return status::Param;
    return modify([&](std::vector<KeychainItem>& items) {
        bool changed = false;
        for (KeychainItem& item : items) {
            if (parsed->matches(item)) {
                change->applyTo(item);
                changed = true;
            }
        }
        return changed ? status::Success : status::ItemNotFound;
    });
}

Status KeychainStore::remove(const base::Dictionary& query)
{
    auto parsed = ItemQuery::parse(query);
    if (!parsed)
        return status::Param;
    return modify([&](std::vector<KeychainItem>& items) {
        if (std::erase_if(items, [&](const KeychainItem& item) { return parsed->matches(item); }) == 0)
            return status::ItemNotFound;
        return status::Success;
    });
}

} // namespace security
