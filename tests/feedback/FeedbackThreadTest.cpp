// The feedback conversation kept on this machine: what the thread file holds across loads, and that a file
// it cannot read starts a new thread without being destroyed by the reading.
#include "feedback/FeedbackThread.h"
#include "base/system/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using feedback::FeedbackThread;

class FeedbackThreadTest : public ::testing::Test {
protected:
    test::TempDir folder;
    std::filesystem::path file = folder.path() / "feedback" / "thread.json";
};

TEST_F(FeedbackThreadTest, KeepsMessagesInOrderWithTheirTimesAndStateAcrossLoads)
{
    {
        auto thread = FeedbackThread::load(file);
        auto first = thread.append("The map is slow", base::Date::fromTimeIntervalSince1970(1000.5)).id;
        thread.append("地图很慢", base::Date::fromTimeIntervalSince1970(2000));
        EXPECT_TRUE(thread.markSent(first, true));
    }
    auto reloaded = FeedbackThread::load(file);
    ASSERT_EQ(reloaded.messages().size(), 2u);
    EXPECT_EQ(reloaded.messages()[0].text, "The map is slow");
    EXPECT_DOUBLE_EQ(reloaded.messages()[0].time.timeIntervalSince1970(), 1000.5);
    EXPECT_TRUE(reloaded.messages()[0].sent);
    EXPECT_EQ(reloaded.messages()[1].text, "地图很慢");
    EXPECT_FALSE(reloaded.messages()[1].sent);
    EXPECT_NE(reloaded.messages()[0].id, reloaded.messages()[1].id);
}

TEST_F(FeedbackThreadTest, NewMessagesAfterAReloadGetNewIdentities)
{
    auto thread = FeedbackThread::load(file);
    auto first = thread.append("one", base::Date::fromTimeIntervalSince1970(1)).id;
    auto reloaded = FeedbackThread::load(file);
    auto second = reloaded.append("two", base::Date::fromTimeIntervalSince1970(2)).id;
    EXPECT_NE(first, second);
    EXPECT_FALSE(reloaded.markSent(second + 100, true));
}

TEST_F(FeedbackThreadTest, AnUnreadableFileStartsANewThreadAndStaysUntilSomethingIsWritten)
{
    ASSERT_TRUE(base::Files::writeAtomically(file, "{ not json"));
    auto thread = FeedbackThread::load(file);
    EXPECT_TRUE(thread.messages().empty());
    EXPECT_EQ(base::Files::read(file), "{ not json");

    ASSERT_TRUE(base::Files::writeAtomically(file, R"({"messages":[{"id":1,"text":"kept","time":5},{"id":"x"}]})"));
    auto partly = FeedbackThread::load(file);
    ASSERT_EQ(partly.messages().size(), 1u);
    EXPECT_EQ(partly.messages()[0].text, "kept");
    EXPECT_FALSE(partly.messages()[0].sent);
}

} // namespace

namespace {

// Each account's file sits in the feedback folder, whatever the name holds, and no two names share one.
TEST(FeedbackThreadPath, EveryAccountNameGivesItsOwnFileInsideTheFolder)
{
    auto folder = FeedbackThread::pathForAccount("ann").parent_path();
    std::set<std::filesystem::path> files;
    for (const char* name : { "ann", "Ann", "../ann", "a/b", "a%2Fb", "..", "", "\xE5\xAE\xB6\xE9\x95\xBF", "a b" }) {
        auto file = FeedbackThread::pathForAccount(name);
        EXPECT_EQ(file.parent_path(), folder) << name;
        EXPECT_EQ(file.filename().string().find('/'), std::string::npos) << name;
        EXPECT_TRUE(files.insert(file).second) << name;
    }
    EXPECT_EQ(FeedbackThread::pathForAccount("ann").filename(), "thread-ann.json");
}

} // namespace
