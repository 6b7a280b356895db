#include "keychain/Keychain.h"

#include "base/system/Bundle.h"
#include "base/system/Facts.h"
#include "keychain/KeychainQuery.h"
#include "security/ItemKeys.h"
#include "security/KeychainStore.h"

#include <gtest/gtest.h>

using keychain::Keychain;
using keychain::KeychainQuery;

namespace {

class KeychainTest : public testing::Test {
protected:
    void SetUp() override { std::filesystem::remove(security::KeychainStore::shared().filePath()); }
    void TearDown() override
    {
        Keychain::setAccessibilityType(std::nullopt);
        base::Facts::current().reset();
    }

    std::vector<std::string> accountsOf(const base::ArrayRef& items)
    {
        std::vector<std::string> names;
        if (items)
            for (const base::Value& item : *items)
                names.push_back(item.dictionary()->objectForKey("acct")->stringValue());
        return names;
    }

    const std::string m_service = base::Bundle::main().identifier();
};

} // namespace

TEST_F(KeychainTest, SavedPasswordReadsBackAndSavingAgainReplacesIt)
{
    ASSERT_TRUE(Keychain::setPassword("first", m_service, "ann"));
    EXPECT_EQ(Keychain::passwordForService(m_service, "ann"), "first");

    ASSERT_TRUE(Keychain::setPassword("second", m_service, "ann"));
    EXPECT_EQ(Keychain::passwordForService(m_service, "ann"), "second");
    EXPECT_EQ(accountsOf(Keychain::allAccounts()), std::vector<std::string> { "ann" }) << "still one item";
}

TEST_F(KeychainTest, AccountsAreListedPerServiceAndAltogether)
{
    ASSERT_TRUE(Keychain::setPassword("1", m_service, "ann"));
    ASSERT_TRUE(Keychain::setPassword("2", "other.service", "carl"));
    ASSERT_TRUE(Keychain::setPassword("3", m_service, "bob"));

    EXPECT_EQ(accountsOf(Keychain::accountsForService(m_service)), (std::vector<std::string> { "ann", "bob" }));
    EXPECT_EQ(accountsOf(Keychain::allAccounts()), (std::vector<std::string> { "ann", "carl", "bob" }));
    EXPECT_EQ(Keychain::passwordForService("other.service", "carl"), "2");
}

TEST_F(KeychainTest, DeletedPasswordIsGoneForThatAccountOnly)
{
    ASSERT_TRUE(Keychain::setPassword("1", m_service, "ann"));
    ASSERT_TRUE(Keychain::setPassword("2", m_service, "bob"));

    EXPECT_TRUE(Keychain::deletePasswordForService(m_service, "ann"));

    EXPECT_EQ(Keychain::passwordForService(m_service, "ann"), std::nullopt);
    EXPECT_EQ(Keychain::passwordForService(m_service, "bob"), "2");
    base::Error error;
    EXPECT_FALSE(Keychain::deletePasswordForService(m_service, "ann", &error));
    EXPECT_EQ(error.code(), -25300);
}

TEST_F(KeychainTest, MissingItemsAreErrorsInTheApplicationsDomain)
{
    base::Error error;
    EXPECT_EQ(Keychain::passwordForService(m_service, "nobody", &error), std::nullopt);
    EXPECT_EQ(error.domain(), m_service);
    EXPECT_EQ(error.code(), -25300);
    EXPECT_EQ(error.localizedDescription(), "errSecItemNotFound");

    base::Error listError;
    EXPECT_EQ(Keychain::allAccounts(&listError), nullptr);
    EXPECT_EQ(listError.code(), -25300);
}

TEST_F(KeychainTest, MissingArgumentsFailWithoutTouchingTheStore)
{
    base::Error error;
    EXPECT_FALSE(Keychain::setPassword(std::nullopt, m_service, "ann", &error));
    EXPECT_EQ(error.code(), KeychainQuery::BadArguments);
    EXPECT_EQ(error.localizedDescription(), "KeychainErrorBadArguments");
    EXPECT_FALSE(Keychain::setPassword("pw", std::nullopt, "ann"));
    EXPECT_FALSE(Keychain::deletePasswordForService(m_service, std::nullopt));
    EXPECT_EQ(Keychain::passwordForService(std::nullopt, "ann"), std::nullopt);

    EXPECT_FALSE(std::filesystem::exists(security::KeychainStore::shared().filePath()));
}

TEST_F(KeychainTest, EmptyPasswordIsStoredButReadsAsNone)
{
    ASSERT_TRUE(Keychain::setPassword("", m_service, "ann"));

    EXPECT_EQ(Keychain::passwordForService(m_service, "ann"), std::nullopt);
    EXPECT_EQ(Keychain::passwordDataForService(m_service, "ann"), base::Data {});
}

TEST_F(KeychainTest, PasswordDataNeedNotBeText)
{
    base::Data binary { 0xff, 0x00, 0xfe };
    ASSERT_TRUE(Keychain::setPasswordData(binary, m_service, "ann"));

    EXPECT_EQ(Keychain::passwordDataForService(m_service, "ann"), binary);
    EXPECT_EQ(Keychain::passwordForService(m_service, "ann"), std::nullopt) << "not UTF-8";
}

TEST_F(KeychainTest, AccessibilityTypeAppliesToNewItemsAndFiltersTheListing)
{
    ASSERT_TRUE(Keychain::setPassword("1", m_service, "ann"));
    Keychain::setAccessibilityType(security::AccessibleAfterFirstUnlock);
    ASSERT_TRUE(Keychain::setPassword("2", m_service, "bob"));
    ASSERT_TRUE(Keychain::setPassword("3", m_service, "ann"));

    EXPECT_EQ(accountsOf(Keychain::allAccounts()), std::vector<std::string> { "bob" })
        << "ann kept the accessibility it was added with";
    EXPECT_EQ(Keychain::passwordForService(m_service, "ann"), "3");

    Keychain::setAccessibilityType(std::nullopt);
    EXPECT_EQ(Keychain::accessibilityType(), std::nullopt);
    EXPECT_EQ(accountsOf(Keychain::allAccounts()), (std::vector<std::string> { "ann", "bob" }));
}

TEST_F(KeychainTest, SynchronizationModeNeedsAPlatformThatSupportsIt)
{
    KeychainQuery query;
    query.setSynchronizationMode(KeychainQuery::SynchronizationMode::Yes);

    base::Facts::current().setPlatformVersionNumber(993.9);
    EXPECT_FALSE(KeychainQuery::isSynchronizationAvailable());
    EXPECT_EQ(query.query()->objectForKey(security::AttrSynchronizable), nullptr);

    base::Facts::current().setPlatformVersionNumber(1047.2);
    EXPECT_TRUE(KeychainQuery::isSynchronizationAvailable());
    EXPECT_EQ(*query.query()->objectForKey(security::AttrSynchronizable), base::Value(true));
}

TEST_F(KeychainTest, SynchronizedAndLocalItemsAreKeptApart)
{
    base::Facts::current().setPlatformVersionNumber(1047.2);
    KeychainQuery synced;
    synced.setService(m_service);
    synced.setAccount("ann");
    synced.setSynchronizationMode(KeychainQuery::SynchronizationMode::Yes);
    synced.setPassword("synced");
    ASSERT_TRUE(synced.save());
    KeychainQuery local = synced;
    local.setSynchronizationMode(KeychainQuery::SynchronizationMode::No);
    local.setPassword("local");
    ASSERT_TRUE(local.save());

    KeychainQuery read = synced;
    read.setPasswordData(std::nullopt);
    ASSERT_TRUE(read.fetch());
    EXPECT_EQ(read.password(), "synced");
    EXPECT_EQ(accountsOf(Keychain::allAccounts()).size(), 2u) << "the default mode lists both";
}

TEST(KeychainErrors, StatusesMapToTheirTableKeys)
{
    EXPECT_EQ(KeychainQuery::errorWithCode(0), std::nullopt);
    EXPECT_EQ(KeychainQuery::errorWithCode(-25299)->localizedDescription(), "errSecDuplicateItem");
    EXPECT_EQ(KeychainQuery::errorWithCode(-26275)->localizedDescription(), "errSecDecode");
    EXPECT_EQ(KeychainQuery::errorWithCode(-25291)->localizedDescription(), "errSecNotAvailable");
    EXPECT_EQ(KeychainQuery::errorWithCode(-12345)->localizedDescription(), "errSecDefault");
    EXPECT_EQ(KeychainQuery::errorWithCode(-12345)->code(), -12345);
}
