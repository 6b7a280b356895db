// What the sign-in keeps of an account, and the one writer of a changed password.
#include "core/state/RememberedAccount.h"
#include "base/system/Bundle.h"
#include "base/system/Files.h"
#include "base/system/UserDefaults.h"
#include "core/messages/DBManager.h"
#include "core/state/Logout.h"
#include "core/service/RootUrl.h"
#include "core/state/SettingsKeys.h"
#include "keychain/Keychain.h"

#include <gtest/gtest.h>

namespace {

using core::RememberedAccount;
using core::SettingsKeys;

class RememberedAccountTest : public testing::Test {
protected:
    void TearDown() override
    {
        // A test that stored no password leaves nothing to delete.
        (void)keychain::Keychain::deletePasswordForService(base::Bundle::main().identifier(), "ann");
        for (const char* key : { SettingsKeys::LoginName, SettingsKeys::LoginName2, SettingsKeys::Password,
                 SettingsKeys::AutoLogin, SettingsKeys::ReLoginName, SettingsKeys::RePassword })
            base::UserDefaults::standard().removeObjectForKey(key);
        RememberedAccount::setSessionPassword("");
    }

    static std::optional<std::string> setting(const char* key)
    {
        return base::UserDefaults::standard().stringForKey(key);
    }
    static std::optional<std::string> keychainPassword()
    {
        return keychain::Keychain::passwordForService(base::Bundle::main().identifier(), "ann");
    }
};

TEST_F(RememberedAccountTest, ASignInHoldsTheSessionPasswordWhetherRememberedOrNot)
{
    RememberedAccount::save("ann", "first", false, false);
    EXPECT_EQ(RememberedAccount::sessionPassword(), "first");
    EXPECT_EQ(setting(SettingsKeys::Password), "") << "nothing remembered on disk";
    EXPECT_FALSE(keychainPassword());

    RememberedAccount::save("ann", "second", true, true);
    EXPECT_EQ(RememberedAccount::sessionPassword(), "second");
    EXPECT_EQ(RememberedAccount::read().password, "second");
    EXPECT_TRUE(RememberedAccount::read().autoLogin);
}

TEST_F(RememberedAccountTest, APasswordChangeReplacesEveryRememberedCopyOfTheOldPassword)
{
    RememberedAccount::save("ann", "old", true, true);
    RememberedAccount::passwordChanged("ann", "old", "new");
    EXPECT_EQ(RememberedAccount::sessionPassword(), "new");
    EXPECT_EQ(setting(SettingsKeys::Password), "new");
    EXPECT_EQ(setting(SettingsKeys::RePassword), "new");
    EXPECT_EQ(keychainPassword(), "new");
    auto reLogin = RememberedAccount::reLoginAccount();
    ASSERT_TRUE(reLogin);
    EXPECT_EQ(reLogin->password, "new") << "becoming active signs in with the new password";

    // A second change before the next sign-in starts from the first change's password.
    RememberedAccount::passwordChanged("ann", "new", "newer");
    EXPECT_EQ(setting(SettingsKeys::Password), "newer");
    EXPECT_EQ(keychainPassword(), "newer");
}

TEST_F(RememberedAccountTest, APasswordChangeLeavesCopiesThatDidNotHoldTheOldPassword)
{
    RememberedAccount::save("ann", "old", false, false);
    base::UserDefaults::standard().setObject(base::Value("other"), SettingsKeys::RePassword);
    RememberedAccount::passwordChanged("ann", "old", "new");
    EXPECT_EQ(RememberedAccount::sessionPassword(), "new");
    EXPECT_EQ(setting(SettingsKeys::Password), "") << "a password nobody asked to remember is not written";
    EXPECT_EQ(setting(SettingsKeys::RePassword), "other");
    EXPECT_FALSE(keychainPassword());
}

TEST_F(RememberedAccountTest, AChangeAnsweredAfterTheAccountLeftWritesOnlyThatAccountsCopies)
{
    RememberedAccount::save("ann", "old", true, true);
    core::Logout::logOutKeepingPushToken();
    RememberedAccount::passwordChanged("ann", "old", "new");
    EXPECT_EQ(RememberedAccount::sessionPassword(), "") << "no session is opened by a reply";
    EXPECT_EQ(setting(SettingsKeys::Password), "new");
    EXPECT_EQ(keychainPassword(), "new");

    // Another account signed in with the same password keeps its session and copies.
    RememberedAccount::save("bob", "new", true, true);
    RememberedAccount::passwordChanged("ann", "new", "newer");
    EXPECT_EQ(RememberedAccount::sessionPassword(), "new");
    EXPECT_EQ(setting(SettingsKeys::Password), "new");
    EXPECT_EQ(setting(SettingsKeys::RePassword), "new");
    EXPECT_EQ(keychain::Keychain::passwordForService(base::Bundle::main().identifier(), "bob"), "new");
    EXPECT_EQ(keychainPassword(), "newer");
    (void)keychain::Keychain::deletePasswordForService(base::Bundle::main().identifier(), "bob");
}

// Only the keychain holds a remembered password: the settings file and the message store never do, though
// the settings "kPassword" and "kRePassword" still answer it.
TEST_F(RememberedAccountTest, ARememberedPasswordIsInTheKeychainAndInNoOtherFile)
{
    const std::string password = "pw-kept-out-of-files-7Q";
    RememberedAccount::save("ann", password, true, true);
    auto& defaults = base::UserDefaults::standard();
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(setting(SettingsKeys::Password), password);
    EXPECT_EQ(setting(SettingsKeys::RePassword), password);
    ASSERT_TRUE(RememberedAccount::reLoginAccount());
    EXPECT_EQ(RememberedAccount::reLoginAccount()->password, password);

    for (const auto& file : { defaults.file(), core::DBManager::databasePath() }) {
        auto bytes = base::Files::read(file);
        EXPECT_EQ(bytes.value_or("").find(password), std::string::npos) << file;
    }
    RememberedAccount::forgetReLoginAccount();
    EXPECT_FALSE(setting(SettingsKeys::RePassword));
}

// A server named on the command line serves this launch; later launches use it only after a sign-in
// against it succeeded.
TEST_F(RememberedAccountTest, TheLaunchsServerIsKeptOnlyOnceASignInSucceeds)
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setObject(base::Value("http://kept.example"), core::RootUrlKey);
    core::setLaunchRootUrl("http://tried.example:81");
    EXPECT_EQ(core::rootUrl(), "http://tried.example:81");
    EXPECT_EQ(defaults.stringForKey(core::RootUrlKey), "http://kept.example");

    RememberedAccount::save("ann", "pw", false, false);
    EXPECT_EQ(defaults.stringForKey(core::RootUrlKey), "http://tried.example:81");
    core::setLaunchRootUrl(std::nullopt);
    defaults.removeObjectForKey(core::RootUrlKey);
}

TEST_F(RememberedAccountTest, ALogoutEndsTheSessionPasswordButKeepsTheRememberedOne)
{
    RememberedAccount::save("ann", "old", true, false);
    core::Logout::logOutKeepingPushToken();
    EXPECT_EQ(RememberedAccount::sessionPassword(), "");
    EXPECT_EQ(setting(SettingsKeys::Password), "old");
    EXPECT_EQ(keychainPassword(), "old");
}

} // namespace
