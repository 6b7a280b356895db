#include "tracking-service/ServiceStore.h"
#include "base/system/Log.h"
#include "database/Database.h"
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

// A reply's messages are marked delivered together: a failure on the way (a trigger that refuses the third
// row, as a service stopped there would leave it) leaves every one of them waiting, never a part of the reply
// to be handed out again.
TEST(ServiceStore, AReplysMessagesAreMarkedDeliveredAllOrNone)
{
    test::TempDir folder;
    tracking_service::ServiceStore store(folder.path());
    ASSERT_TRUE(store.isOpen());
    for (int message = 0; message < 5; ++message)
        ASSERT_TRUE(store.queueMessage("ann", base::Value(message)));
    auto sent = store.sendMessages("ann");
    ASSERT_EQ(sent.positions.size(), 5u);

    auto other = database::Database::databaseWithPath((folder.path() / "service.sqlite").string());
    ASSERT_TRUE(other->open());
    ASSERT_TRUE(other->executeUpdate("create trigger stopped before update of popped on messages when new.seq = "
        + std::to_string(sent.positions[2]) + " begin select raise(abort, 'stopped'); end"));
    {
        base::Log::ScopedCapture capture;
        store.finishDelivery(sent.positions, true);
        EXPECT_TRUE(capture.contains("could not be marked"));
    }
    auto again = store.sendMessages("ann");
    EXPECT_EQ(again.positions, sent.positions);

    ASSERT_TRUE(other->executeUpdate("drop trigger stopped"));
    ASSERT_TRUE(other->close());
    store.finishDelivery(again.positions, true);
    EXPECT_TRUE(store.sendMessages("ann").positions.empty());
}

} // namespace
