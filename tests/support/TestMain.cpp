// The shared main of every test binary: each process gets its own empty data root ($LUMET_HOME), so tests
// never read or write the user's real files, and no session bus, so they never reach the desktop's keyring
// either. Only tests run in a private session with a keyring of their own (tests/security/private-keyring.sh,
// which sets LUMET_TEST_SECRET_SERVICE) keep theirs.
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    test::TempDir dataRoot;
    setenv("LUMET_HOME", dataRoot.path().c_str(), 1);
    if (!getenv("LUMET_TEST_SECRET_SERVICE"))
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (dataRoot.path() / "no-session-bus").string()).c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
