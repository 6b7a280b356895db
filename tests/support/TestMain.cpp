// The shared main of every test binary: each process gets its own empty data root ($LUMET_HOME), so tests
// never read or write the user's real files, and no session bus, so they never reach the desktop's keyring
// either. Only tests run in a private session with a keyring of their own (tests/security/private-keyring.sh,
// which sets LUMET_TEST_SECRET_SERVICE) keep theirs.
#include "support/TempDir.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>

namespace {

// A death test's child runs this binary again and ends without unwinding: it works in its parent's data
// root, and makes its temporary folders (a fixture's) inside it, which the parent removes, rather than
// leaving folders of its own behind.
bool isDeathTestChild(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--gtest_internal_run_death_test", 31) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // A static made before any object that may write under it (the user defaults save when they go), so that
    // it is removed after them at exit and nothing is written into it again once it has gone.
    static std::optional<test::TempDir> dataRoot;
    if (isDeathTestChild(argc, argv) && getenv("LUMET_HOME")) {
        setenv("TMPDIR", getenv("LUMET_HOME"), 1);
    } else {
        dataRoot.emplace();
        setenv("LUMET_HOME", dataRoot->path().c_str(), 1);
    }
    if (!getenv("LUMET_TEST_SECRET_SERVICE")) {
        std::string noBus = "unix:path=" + (std::filesystem::path(getenv("LUMET_HOME")) / "no-session-bus").string();
        setenv("DBUS_SESSION_BUS_ADDRESS", noBus.c_str(), 1);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
