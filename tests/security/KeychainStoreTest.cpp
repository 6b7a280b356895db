#include "security/KeychainStore.h"

#include "base/system/Log.h"
#include "base/values/Array.h"
#include "security/FileStamp.h"
#include "security/KeychainFile.h"
#include "support/TempDir.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace security;

namespace {

base::Value text(const char* value) { return base::Value(value); }

base::DictionaryRef genericPassword(base::Dictionary::Pairs pairs)
{
    pairs.emplace_back(text(Class), text(ClassGenericPassword));
    return base::Dictionary::make(std::move(pairs));
}

ino_t getInode(const std::filesystem::path& file)
{
    struct stat info { };
    return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

base::Value bytes(std::string secret) { return base::Value(base::Data(secret.begin(), secret.end())); }

std::string fileText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class KeychainStoreTest : public testing::Test {
protected:
    test::TempDir m_folder;
    std::filesystem::path m_file { m_folder.path() / "data" / "keychain" };
    KeychainStore m_store { m_file };

    Status save(const char* service, const char* account, const char* secret)
    {
        return saveIn(m_store, service, account, secret);
    }

    static Status saveIn(KeychainStore& store, const char* service, const char* account, const char* secret)
    {
        return store.add(*genericPassword({ { text(AttrService), text(service) }, { text(AttrAccount), text(account) },
            { text(ValueData), bytes(secret) } }));
    }

    static Status setIn(KeychainStore& store, const char* service, const char* account, const char* secret)
    {
        auto query = genericPassword({ { text(AttrService), text(service) }, { text(AttrAccount), text(account) } });
        return store.update(*query, *base::Dictionary::make({ { text(ValueData), bytes(secret) } }));
    }

    std::optional<std::string> secret(const char* service, const char* account)
    {
        return secretIn(m_store, service, account);
    }

    static std::optional<std::string> secretIn(KeychainStore& store, const char* service, const char* account)
    {
        std::optional<base::Value> result;
        Status status = store.copyMatching(*genericPassword({ { text(AttrService), text(service) },
                                               { text(AttrAccount), text(account) }, { text(ReturnData), true } }),
            &result);
        if (status != status::Success)
            return std::nullopt;
        const base::Data* data = result->data();
        return std::string(data->begin(), data->end());
    }

    std::vector<std::string> accounts(std::optional<const char*> service)
    {
        base::Dictionary::Pairs pairs { { text(ReturnAttributes), true }, { text(MatchLimit), text(MatchLimitAll) } };
        if (service)
            pairs.emplace_back(text(AttrService), text(*service));
        std::optional<base::Value> result;
        if (m_store.copyMatching(*genericPassword(pairs), &result) != status::Success)
            return {};
        std::vector<std::string> names;
        for (const base::Value& attributes : *result->array())
            names.push_back(attributes.dictionary()->objectForKey(AttrAccount)->stringValue());
        return names;
    }
};

} // namespace

TEST_F(KeychainStoreTest, SavesAndFetchesByServiceAndAccount)
{
    EXPECT_EQ(save("svc", "ann", "pw-ann"), status::Success);
    EXPECT_EQ(save("svc", "bob", "pw-bob"), status::Success);
    EXPECT_EQ(save("other", "ann", "pw-other"), status::Success);

    EXPECT_EQ(secret("svc", "ann"), "pw-ann");
    EXPECT_EQ(secret("svc", "bob"), "pw-bob");
    EXPECT_EQ(secret("other", "ann"), "pw-other");
    EXPECT_EQ(secret("other", "bob"), std::nullopt);
}

TEST_F(KeychainStoreTest, AddingAnExistingItemIsADuplicateAndUpdateReplacesItsDataOnly)
{
    ASSERT_EQ(m_store.add(*genericPassword({ { text(AttrService), text("svc") }, { text(AttrAccount), text("ann") },
                  { text(AttrLabel), text("Lumet") }, { text(ValueData), bytes("old") } })),
        status::Success);
    EXPECT_EQ(save("svc", "ann", "new"), status::DuplicateItem);
    EXPECT_EQ(secret("svc", "ann"), "old");

    auto query = genericPassword({ { text(AttrService), text("svc") }, { text(AttrAccount), text("ann") } });
    EXPECT_EQ(m_store.update(*query, *base::Dictionary::make({ { text(ValueData), bytes("new") } })), status::Success);

    EXPECT_EQ(secret("svc", "ann"), "new");
    EXPECT_EQ(accounts("svc"), std::vector<std::string> { "ann" });
    std::optional<base::Value> attributes;
    ASSERT_EQ(
        m_store.copyMatching(*genericPassword({ { text(ReturnAttributes), true } }), &attributes), status::Success);
    EXPECT_EQ(attributes->dictionary()->objectForKey(AttrLabel)->stringValue(), "Lumet");
    EXPECT_EQ(attributes->dictionary()->objectForKey(AttrAccessible)->stringValue(), AccessibleWhenUnlocked);
}

// The file is replaced by a new one (a new inode) only when an item really changes.
TEST_F(KeychainStoreTest, AnUpdateThatChangesNothingLeavesTheFileAsItIs)
{
    ASSERT_EQ(save("svc", "ann", "pw"), status::Success);
    ino_t written = getInode(m_file);
    ASSERT_NE(written, 0u);
    auto query = genericPassword({ { text(AttrService), text("svc") }, { text(AttrAccount), text("ann") } });

    EXPECT_EQ(m_store.update(*query, *base::Dictionary::make({ { text(ValueData), bytes("pw") } })), status::Success);
    EXPECT_EQ(getInode(m_file), written);

    EXPECT_EQ(m_store.update(*query, *base::Dictionary::make({ { text(ValueData), bytes("pw2") } })), status::Success);
    EXPECT_NE(getInode(m_file), written);
    EXPECT_EQ(secret("svc", "ann"), "pw2");
    EXPECT_EQ(KeychainStore(m_file).copyMatching(*query), status::Success);
}

TEST_F(KeychainStoreTest, UpdateAndRemoveOfMissingItemsReportNotFound)
{
    auto query = genericPassword({ { text(AttrService), text("svc") }, { text(AttrAccount), text("ann") } });
    EXPECT_EQ(
        m_store.update(*query, *base::Dictionary::make({ { text(ValueData), bytes("x") } })), status::ItemNotFound);
    EXPECT_EQ(m_store.remove(*query), status::ItemNotFound);
    EXPECT_EQ(m_store.copyMatching(*query), status::ItemNotFound);
    EXPECT_FALSE(std::filesystem::exists(m_file)) << "nothing to save, nothing written";
}

TEST_F(KeychainStoreTest, RemoveDeletesOnlyTheSelectedItem)
{
    save("svc", "ann", "1");
    save("svc", "bob", "2");
    save("other", "ann", "3");

    EXPECT_EQ(
        m_store.remove(*genericPassword({ { text(AttrService), text("svc") }, { text(AttrAccount), text("ann") } })),
        status::Success);

    EXPECT_EQ(secret("svc", "ann"), std::nullopt);
    EXPECT_EQ(accounts(std::nullopt), (std::vector<std::string> { "bob", "ann" }));
}

TEST_F(KeychainStoreTest, ListsAccountsOfOneServiceOrOfAll)
{
    save("svc", "ann", "1");
    save("other", "carl", "2");
    save("svc", "bob", "3");

    EXPECT_EQ(accounts("svc"), (std::vector<std::string> { "ann", "bob" }));
    EXPECT_EQ(accounts(std::nullopt), (std::vector<std::string> { "ann", "carl", "bob" }));
    EXPECT_EQ(accounts("none"), std::vector<std::string> {});
}

TEST_F(KeychainStoreTest, SynchronizableItemsAreSeparateAndFoundOnlyWhenAskedFor)
{
    save("svc", "ann", "local");
    ASSERT_EQ(m_store.add(*genericPassword({ { text(AttrService), text("svc") }, { text(AttrAccount), text("ann") },
                  { text(AttrSynchronizable), true }, { text(ValueData), bytes("synced") } })),
        status::Success);

    EXPECT_EQ(secret("svc", "ann"), "local") << "a query without the attribute sees unsynchronized items only";
    auto any = genericPassword({ { text(AttrSynchronizable), text(AttrSynchronizableAny) },
        { text(ReturnAttributes), true }, { text(MatchLimit), text(MatchLimitAll) } });
    std::optional<base::Value> both;
    ASSERT_EQ(m_store.copyMatching(*any, &both), status::Success);
    EXPECT_EQ(both->array()->count(), 2u);
}

TEST_F(KeychainStoreTest, RefusesMalformedQueriesWithoutTouchingTheFile)
{
    save("svc", "ann", "1");
    std::string before = fileText(m_file);

    EXPECT_EQ(m_store.copyMatching(*base::Dictionary::make({ { text(AttrService), text("svc") } })), status::Param)
        << "no class";
    EXPECT_EQ(m_store.remove(*base::Dictionary::make({ { text(Class), text("cert") } })), status::Param);
    EXPECT_EQ(m_store.remove(*genericPassword({ { text(AttrService), 5 } })), status::Param) << "service not a text";
    EXPECT_EQ(m_store.remove(*genericPassword({ { text("serviceName"), text("svc") } })), status::Param)
        << "a misspelt key must not widen the deletion to every item";
    EXPECT_EQ(m_store.add(*genericPassword({ { text(ValueData), text("not data") } })), status::Param);
    EXPECT_EQ(m_store.add(*genericPassword({ { text(AttrAccessible), text("sometimes") } })), status::Param);
    EXPECT_EQ(m_store.update(*genericPassword({}), *base::Dictionary::make({ { text(AttrAccount), text("x") } })),
        status::Param);

    EXPECT_EQ(fileText(m_file), before);
}

TEST_F(KeychainStoreTest, FileIsPrivateAndReplacedWhole)
{
    std::filesystem::create_directories(m_file.parent_path());
    std::ofstream(m_file) << KeychainFile::encode({});
    std::filesystem::permissions(m_file, std::filesystem::perms(0644));

    save("svc", "ann", "secret");

    struct stat info { };
    ASSERT_EQ(stat(m_file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    auto items = KeychainFile::decode(fileText(m_file));
    ASSERT_TRUE(items);
    EXPECT_EQ(items->size(), 1u);
    for (auto& entry : std::filesystem::directory_iterator(m_file.parent_path()))
        EXPECT_EQ(entry.path().filename(), "keychain") << "no temporary file is left behind";
}

TEST_F(KeychainStoreTest, CorruptFileIsMovedAsideAndReadsAsEmpty)
{
    std::filesystem::create_directories(m_file.parent_path());
    std::ofstream(m_file) << "lumet-keychain 1\nitem svce=s acct=a";
    base::Log::ScopedCapture log;

    EXPECT_EQ(accounts(std::nullopt), std::vector<std::string> {});
    EXPECT_TRUE(log.contains("not a keychain file"));
    std::filesystem::path aside = m_file;
    aside += ".corrupt-1";
    EXPECT_EQ(fileText(aside), "lumet-keychain 1\nitem svce=s acct=a") << "kept for whoever wants to recover it";

    EXPECT_EQ(save("svc", "ann", "pw"), status::Success);
    EXPECT_EQ(secret("svc", "ann"), "pw");

    std::ofstream(m_file, std::ios::trunc) << "garbage";
    EXPECT_EQ(secret("svc", "ann"), std::nullopt);
    std::filesystem::path second = m_file;
    second += ".corrupt-2";
    EXPECT_TRUE(std::filesystem::exists(second)) << "an earlier corrupt file is never overwritten";
}

TEST_F(KeychainStoreTest, UnreadableStoreIsReportedNotTreatedAsEmpty)
{
    std::filesystem::create_directories(m_file);

    EXPECT_EQ(save("svc", "ann", "pw"), status::NotAvailable);
    EXPECT_EQ(m_store.copyMatching(*genericPassword({})), status::NotAvailable);
    EXPECT_TRUE(std::filesystem::is_directory(m_file));
}

namespace {

// Caps the size of files this process may write, so that a write stops part-way as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit { bytes, m_previous.rlim_max };
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous {};
    sighandler_t m_previousHandler {};
};

} // namespace

TEST_F(KeychainStoreTest, WriteFailureIsReportedAndKeepsWhatWasSaved)
{
    ASSERT_EQ(save("svc", "ann", "kept"), status::Success);
    base::Log::ScopedCapture log;
    Status status;
    {
        FileSizeLimit limit(4096);
        status = save("svc", "bob", std::string(20000, 'x').c_str());
    }

    EXPECT_EQ(status, status::NotAvailable);
    EXPECT_TRUE(log.contains("cannot save"));
    EXPECT_EQ(secret("svc", "ann"), "kept");
    EXPECT_EQ(secret("svc", "bob"), std::nullopt);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_file.parent_path()), {}), 1)
        << "the half-written file is removed";
}

TEST_F(KeychainStoreTest, CrashMidWriteLosesNothingAlreadySaved)
{
    ASSERT_EQ(save("svc", "ann", "kept"), status::Success);
    ASSERT_EQ(save("svc", "bob", "kept too"), status::Success);

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The kernel kills the child with SIGXFSZ in the middle of writing the new file.
        rlimit noCore { 0, 0 };
        setrlimit(RLIMIT_CORE, &noCore);
        signal(SIGXFSZ, SIG_DFL);
        rlimit limit { 4096, 4096 };
        setrlimit(RLIMIT_FSIZE, &limit);
        save("svc", "carl", std::string(20000, 'x').c_str());
        _exit(0);
    }
    int childStatus = 0;
    ASSERT_EQ(waitpid(child, &childStatus, 0), child);
    ASSERT_TRUE(WIFSIGNALED(childStatus)) << "the child should have died mid-write";
    EXPECT_EQ(WTERMSIG(childStatus), SIGXFSZ);

    EXPECT_EQ(secret("svc", "ann"), "kept");
    EXPECT_EQ(secret("svc", "bob"), "kept too");
    EXPECT_EQ(secret("svc", "carl"), std::nullopt);
    EXPECT_EQ(save("svc", "carl", "after"), status::Success) << "the leftover of the crash does not block saving";
    EXPECT_EQ(accounts("svc"), (std::vector<std::string> { "ann", "bob", "carl" }));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_file.parent_path()), {}), 1)
        << "the next save clears the crash's leftover";
}

// A store keeps a copy of the items it read while the file is provably unchanged. These stores keep it at
// once (no settle time), so every read below after the first would come from the copy if it were stale.
TEST_F(KeychainStoreTest, AKeptCopyNeverHidesWhatAnotherStoreWrote)
{
    KeychainStore first(m_file, std::chrono::nanoseconds(0));
    KeychainStore second(m_file, std::chrono::nanoseconds(0));
    ASSERT_EQ(saveIn(first, "svc", "ann", "pw1"), status::Success);
    EXPECT_EQ(secretIn(first, "svc", "ann"), "pw1");
    EXPECT_EQ(secretIn(second, "svc", "ann"), "pw1");

    ASSERT_EQ(setIn(second, "svc", "ann", "pw2"), status::Success);
    EXPECT_EQ(secretIn(first, "svc", "ann"), "pw2");
    // Two replacements between reads: the second file could take the first one's inode number if nothing
    // held it, with the same size and, within one clock tick, the same times.
    ASSERT_EQ(setIn(second, "svc", "ann", "pw3"), status::Success);
    ASSERT_EQ(setIn(second, "svc", "ann", "pw4"), status::Success);
    EXPECT_EQ(secretIn(first, "svc", "ann"), "pw4");

    ASSERT_EQ(saveIn(first, "svc", "bob", "pw-bob"), status::Success);
    EXPECT_EQ(secretIn(second, "svc", "ann"), "pw4") << "a change starts from the file, not from an old copy";
    EXPECT_EQ(secretIn(second, "svc", "bob"), "pw-bob");
}

TEST_F(KeychainStoreTest, AKeptCopyGoesWhenTheFileIsReplacedRemovedOrSpoiled)
{
    KeychainStore store(m_file, std::chrono::nanoseconds(0));
    ASSERT_EQ(saveIn(store, "svc", "ann", "pw1"), status::Success);
    ASSERT_EQ(secretIn(store, "svc", "ann"), "pw1");

    std::string replaced = fileText(m_file);
    replaced.replace(replaced.find("pw1"), 3, "pw9");
    std::filesystem::path written = m_file;
    written += ".new";
    std::ofstream(written) << replaced;
    std::filesystem::rename(written, m_file);
    EXPECT_EQ(secretIn(store, "svc", "ann"), "pw9") << "another program's file of the same size";

    std::filesystem::remove(m_file);
    EXPECT_EQ(secretIn(store, "svc", "ann"), std::nullopt);

    ASSERT_EQ(saveIn(store, "svc", "ann", "pw1"), status::Success);
    ASSERT_EQ(secretIn(store, "svc", "ann"), "pw1");
    base::Log::ScopedCapture log;
    std::ofstream(m_file, std::ios::trunc) << "garbage";
    EXPECT_EQ(secretIn(store, "svc", "ann"), std::nullopt);
    EXPECT_TRUE(log.contains("not a keychain file"));
}

// Within the file system's timestamp granularity a change in place may leave every time as it was: a file
// that young is read again each time.
TEST_F(KeychainStoreTest, AYoungFileChangedInPlaceIsReadAgain)
{
    ASSERT_EQ(save("svc", "ann", "pw1"), status::Success);
    ASSERT_EQ(secret("svc", "ann"), "pw1");
    struct stat before { };
    ASSERT_EQ(::stat(m_file.c_str(), &before), 0);

    std::string changed = fileText(m_file);
    changed.replace(changed.find("pw1"), 3, "pw2");
    std::ofstream(m_file, std::ios::in | std::ios::out | std::ios::binary) << changed;
    const timespec times[2] = { before.st_atim, before.st_mtim };
    ASSERT_EQ(::utimensat(AT_FDCWD, m_file.c_str(), times, 0), 0);
    EXPECT_EQ(secret("svc", "ann"), "pw2");
}

TEST(FileStamp, SettlesAfterTheSettleTimeOrThreeSecondsForCoarseTimes)
{
    using namespace std::chrono_literals;
    const auto now = std::chrono::system_clock::time_point(1'700'000'000s);
    auto stampAt = [](std::chrono::system_clock::time_point instant, long nanoseconds) {
        FileStamp stamp;
        auto seconds = std::chrono::duration_cast<std::chrono::seconds>(instant.time_since_epoch()).count();
        stamp.modified = stamp.changed = timespec { seconds, nanoseconds };
        return stamp;
    };
    EXPECT_TRUE(stampAt(now - 1s, 900'000'001).settledBefore(now, 50ms));
    EXPECT_FALSE(stampAt(now - 1s, 990'000'001).settledBefore(now, 50ms));
    EXPECT_FALSE(stampAt(now - 2s, 0).settledBefore(now, 50ms)) << "whole seconds: a coarse file system";
    EXPECT_TRUE(stampAt(now - 3s, 0).settledBefore(now, 50ms));

    FileStamp young = stampAt(now - 1s, 900'000'001);
    young.changed = timespec { young.changed.tv_sec, 999'999'999 };
    EXPECT_FALSE(young.settledBefore(now, 50ms)) << "a recent change time alone keeps it unsettled";
}
