// The keychain item store against a real Secret Service: these tests run in a private D-Bus session with a
// keyring of their own (private-keyring.sh, registered with ctest as "security.SecretService"); run
// anywhere else they are skipped, since no test may touch the user's keyring.
#include "security/KeychainStore.h"

#include "base/values/Array.h"
#include "security/SecretServiceItems.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

using namespace security;

namespace {

base::Value text(const char* value) { return base::Value(value); }
base::Value bytes(const std::string& secret) { return base::Value(base::Data(secret.begin(), secret.end())); }

base::DictionaryRef genericPassword(base::Dictionary::Pairs pairs)
{
    pairs.emplace_back(text(Class), text(ClassGenericPassword));
    return base::Dictionary::make(std::move(pairs));
}

base::DictionaryRef item(const char* service, const char* account)
{
    return genericPassword({ { text(AttrService), text(service) }, { text(AttrAccount), text(account) } });
}

class SecretServiceStore : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("LUMET_TEST_SECRET_SERVICE"))
            GTEST_SKIP() << "needs the private keyring session of private-keyring.sh";
        std::string reason;
        m_secrets = SecretServiceItems::connect(&reason);
        ASSERT_TRUE(m_secrets) << reason;
        // Each test starts from an empty keyring of this application's items.
        ASSERT_EQ(m_secrets->write(m_secrets->read().items, {}), status::Success);
        m_store = std::make_unique<KeychainStore>(m_file, std::chrono::nanoseconds(0), m_secrets);
    }

    Status save(KeychainStore& store, const char* service, const char* account, const std::string& secret)
    {
        auto attributes = item(service, account)->mutableCopy();
        attributes->setObject(bytes(secret), ValueData);
        return store.add(*attributes);
    }

    std::optional<std::string> secret(KeychainStore& store, const char* service, const char* account)
    {
        auto query = item(service, account)->mutableCopy();
        query->setObject(base::Value(true), ReturnData);
        std::optional<base::Value> result;
        if (store.copyMatching(*query, &result) != status::Success || !result->data())
            return std::nullopt;
        return std::string(result->data()->begin(), result->data()->end());
    }

    test::TempDir m_folder;
    std::filesystem::path m_file { m_folder.path() / "keychain" };
    std::shared_ptr<SecretServiceItems> m_secrets;
    std::unique_ptr<KeychainStore> m_store;
};

TEST_F(SecretServiceStore, SavesReadsUpdatesAndDeletesAPasswordWithoutAFile)
{
    ASSERT_EQ(save(*m_store, "app", "ann", "first"), status::Success);
    EXPECT_EQ(secret(*m_store, "app", "ann"), "first");
    EXPECT_EQ(save(*m_store, "app", "ann", "again"), status::DuplicateItem);

    std::string binary("a\0b\xff", 4);
    EXPECT_EQ(m_store->update(*item("app", "ann"), *base::Dictionary::make({ { text(ValueData), bytes(binary) } })),
        status::Success);
    EXPECT_EQ(secret(*m_store, "app", "ann"), binary);
    EXPECT_EQ(m_store->update(*item("app", "bob"), *base::Dictionary::make({ { text(ValueData), bytes("x") } })),
        status::ItemNotFound);

    EXPECT_EQ(m_store->remove(*item("app", "ann")), status::Success);
    EXPECT_FALSE(secret(*m_store, "app", "ann"));
    EXPECT_EQ(m_store->remove(*item("app", "ann")), status::ItemNotFound);
    EXPECT_FALSE(std::filesystem::exists(m_file));
}

TEST_F(SecretServiceStore, ListsTheAccountsOfAServiceAndKeepsEachIdentityApart)
{
    ASSERT_EQ(save(*m_store, "app", "ann", "1"), status::Success);
    ASSERT_EQ(save(*m_store, "app", "bob", "2"), status::Success);
    ASSERT_EQ(save(*m_store, "other", "ann", "3"), status::Success);

    std::optional<base::Value> found;
    ASSERT_EQ(m_store->copyMatching(*genericPassword({ { text(AttrService), text("app") },
                                        { text(ReturnAttributes), true }, { text(MatchLimit), text(MatchLimitAll) } }),
                  &found),
        status::Success);
    ASSERT_TRUE(found && found->array());
    std::set<std::string> accounts;
    for (const base::Value& row : *found->array())
        accounts.insert(*row.dictionary()->objectForKey(AttrAccount)->string());
    EXPECT_EQ(accounts, (std::set<std::string> { "ann", "bob" }));
    EXPECT_EQ(secret(*m_store, "other", "ann"), "3");

    // A second store on the same Secret Service sees the same items.
    KeychainStore another(m_folder.path() / "elsewhere", std::chrono::nanoseconds(0), SecretServiceItems::connect());
    EXPECT_EQ(secret(another, "app", "bob"), "2");
}

TEST_F(SecretServiceStore, MovesTheItemsOfAnEarlierFileAndRemovesTheFile)
{
    {
        KeychainStore file(m_file, std::chrono::nanoseconds(0));
        ASSERT_EQ(save(file, "app", "ann", "from-file"), status::Success);
        ASSERT_EQ(save(file, "app", "bob", "stale"), status::Success);
    }
    // The Secret Service's own copy of an item is newer than the file's.
    KeychainItem newer;
    newer.service = "app";
    newer.account = "bob";
    newer.data = { 'n', 'e', 'w' };
    ASSERT_EQ(m_secrets->write({}, { newer }), status::Success);

    EXPECT_EQ(secret(*m_store, "app", "ann"), "from-file");
    EXPECT_EQ(secret(*m_store, "app", "bob"), "new");
    EXPECT_FALSE(std::filesystem::exists(m_file));
    EXPECT_EQ(m_secrets->read().items.size(), 2u);
}

} // namespace
