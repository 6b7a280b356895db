#include "tracking-service/ServiceStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// Writes go to the write-ahead log while the store is open; closing it folds them into the file itself, so
// that the file alone, copied elsewhere, holds every write.
TEST(ServiceStore, AClosedStoreHoldsEveryWriteInItsFile)
{
    test::TempDir folder;
    const auto file = folder.path() / "service.sqlite";
    const auto log = folder.path() / "service.sqlite-wal";
    std::string session;
    {
        tracking_service::ServiceStore store(folder.path());
        ASSERT_TRUE(store.isOpen());
        ASSERT_TRUE(store.addAccount("ann", "pw"));
        ASSERT_TRUE(store.setPushToken("ann", "token"));
        session = store.openSession("ann");
        EXPECT_TRUE(std::filesystem::exists(log));
    }
    EXPECT_FALSE(std::filesystem::exists(log));

    test::TempDir elsewhere;
    std::filesystem::copy_file(file, elsewhere.path() / "service.sqlite");
    tracking_service::ServiceStore copy(elsewhere.path());
    EXPECT_EQ(copy.sessionAccount(session), "ann");
    EXPECT_EQ(copy.pushToken("ann"), "token");
    EXPECT_TRUE(copy.checkPassword("ann", "pw"));
}

} // namespace
