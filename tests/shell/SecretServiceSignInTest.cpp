// A remembered sign-in where the session offers a Secret Service: the password goes to the keyring and to no
// file under the data root. Runs in the private keyring session of tests/security/private-keyring.sh
// (registered with ctest as "shell.SecretServiceSignIn"); skipped anywhere else.
#include "ShellFixture.h"

#include "core/state/RememberedAccount.h"
#include "security/KeychainStore.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

class SecretServiceSignIn : public test::ShellTest {
protected:
    void SetUp() override
    {
        // The fixture's tear-down needs its set-up, skipped or not.
        test::ShellTest::SetUp();
        if (!std::getenv("LUMET_TEST_SECRET_SERVICE"))
            GTEST_SKIP() << "needs the private keyring session of private-keyring.sh";
    }
};

TEST_F(SecretServiceSignIn, ARememberedPasswordIsInNoFileUnderTheDataRoot)
{
    launch();
    fill(account, password);
    signIn();
    ASSERT_TRUE(container());
    ASSERT_TRUE(core::RememberedAccount::reLoginAccount());
    EXPECT_TRUE(security::KeychainStore::shared().usesSecretService());
    EXPECT_EQ(keychain::Keychain::passwordForService(base::Bundle::main().identifier(), account), password);

    size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::getenv("LUMET_HOME"))) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(content.find(password), std::string::npos) << entry.path();
    }
    EXPECT_GT(files, 0u);
}

} // namespace
