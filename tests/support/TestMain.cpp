// The shared main of every test binary: each process gets its own empty data root ($LUMET_HOME), so tests
// never read or write the user's real files.
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    test::TempDir dataRoot;
    setenv("LUMET_HOME", dataRoot.path().c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
