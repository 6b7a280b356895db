// The chat screen over a long stored conversation: it opens on the newest page, scrolling back brings every
// older message in order while the rows on screen stay still, and a new message, a sent text or a cleared
// store shows whatever pages are loaded.
#include "ChatFixture.h"

#include "base/loop/NotificationCenter.h"
#include "chat/MessageHistory.h"
#include "core/state/NotificationNames.h"

namespace {

constexpr size_t pageSize = chat::MessageHistory::pageSize;

class ChatHistory : public test::ChatTest {
protected:
    static std::shared_ptr<core::UserMessageQuery> text(const std::string& id, std::optional<base::Date> time)
    {
        bool own = id.back() % 2 == 0;
        auto message = std::make_shared<core::UserMessageQuery>();
        message->id_ = id;
        message->context = id;
        message->from = own ? account : watch;
        message->to = own ? watch : account;
        message->desc = own ? std::nullopt : std::optional<std::string>("note");
        message->userName = account;
        message->msgType = core::UserMessageQuery::TextType;
        message->createTime = time;
        return message;
    }

    // `count` texts in both directions, stored as one batch a day ago: seven share each minute, so that pages
    // end among equal times, and every ninth has no time.
    static void storeTexts(int count)
    {
        std::vector<core::PendingMessage> batch;
        base::Date start = base::Date::now().dateByAddingTimeInterval(-86400);
        for (int i = 0; i < count; ++i) {
            std::optional<base::Date> time = start.dateByAddingTimeInterval(60.0 * (i / 7));
            if (i % 9 == 4)
                time.reset();
            batch.push_back({ text("m" + std::to_string(i), time), core::PendingMessage::Place::Chat });
        }
        ASSERT_TRUE(core::DBManager::saveIncomingMessages(batch));
    }

    static void storeAndAnnounce(const std::shared_ptr<core::UserMessageQuery>& message)
    {
        ASSERT_TRUE(core::DBManager::saveOrUpdataUserChatQuery(*message));
        base::NotificationCenter::defaultCenter().post(core::NotificationNames::ReceiveRemoteNotification, message);
    }

    // Scrolls the list to its top, as a user scrolling back does; the rows put above. The rows that were on
    // screen at the top stay where they were.
    size_t scrollToTop()
    {
        auto table = chat->tableView();
        size_t before = shown().size();
        double firstRowAtTop = table->rectForRowAtIndexPath({ 0, 0 }).minY();
        table->setContentOffset({ 0, 0 });
        size_t added = shown().size() - before;
        if (added > 0) {
            double sameRow = table->rectForRowAtIndexPath({ 0, static_cast<int>(added) }).minY();
            EXPECT_DOUBLE_EQ(sameRow - table->contentOffset().y, firstRowAtTop);
        }
        return added;
    }

    std::vector<std::string> shown() const
    {
        std::vector<std::string> ids;
        for (const auto& frame : chat->allMessagesFrame())
            ids.push_back(frame->message()->id_.value_or("?"));
        return ids;
    }

    // The newest `count` ids of the whole stored conversation.
    std::vector<std::string> storedTail(size_t count) const
    {
        std::vector<std::string> ids;
        for (const auto& message : storedChat())
            ids.push_back(message->id_.value_or("?"));
        return { ids.end() - static_cast<std::ptrdiff_t>(std::min(count, ids.size())), ids.end() };
    }

    // A time after every stored message's (the service's own messages may be dated ahead of the clock).
    base::Date afterNewest(double seconds) const
    {
        return storedChat().back()->createTime.value_or(base::Date::now()).dateByAddingTimeInterval(seconds);
    }

    bool atBottom()
    {
        auto table = chat->tableView();
        return table->contentOffset().y == table->contentSize().height - table->bounds().height();
    }
};

TEST_F(ChatHistory, OpensOnTheNewestPageAndScrollingBackReachesTheOldestInOrder)
{
    storeTexts(95);
    openChat();
    EXPECT_EQ(shown(), storedTail(pageSize));
    EXPECT_TRUE(atBottom());

    for (int pages = 0; pages < 10 && scrollToTop() > 0; ++pages) { }
    auto stored = storedChat();
    ASSERT_EQ(shown(), storedTail(stored.size()));
    // The time lines and heights are those of the whole conversation laid out at once.
    auto whole = chat::makeMessageFrames(stored);
    for (size_t row = 0; row < whole.size(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(chat->allMessagesFrame()[row]->showTime(), whole[row]->showTime());
        EXPECT_DOUBLE_EQ(chat->allMessagesFrame()[row]->cellHeight(), whole[row]->cellHeight());
    }
}

TEST_F(ChatHistory, NewMessagesComeAtTheBottomWithTheOlderPagesKept)
{
    storeTexts(60);
    openChat();
    ASSERT_EQ(scrollToTop(), pageSize);

    storeAndAnnounce(text("arrived1", afterNewest(60)));
    EXPECT_EQ(shown(), storedTail(2 * pageSize + 1));
    EXPECT_EQ(shown().back(), "arrived1");
    EXPECT_TRUE(atBottom());

    send("typed");
    ASSERT_EQ(shown().size(), 2 * pageSize + 2);
    EXPECT_EQ(chat->allMessagesFrame().back()->message()->context, "typed");
    EXPECT_TRUE(atBottom());
    storeAndAnnounce(text("arrived3", afterNewest(60)));
    EXPECT_EQ(shown(), storedTail(2 * pageSize + 3));
}

TEST_F(ChatHistory, ClearingTheStoreEmptiesTheListWhateverPagesAreLoaded)
{
    storeTexts(60);
    openChat();
    for (int pages = 0; pages < 10 && scrollToTop() > 0; ++pages) { }
    ASSERT_EQ(shown().size(), storedChat().size());

    // As the settings' clearing does; the store then numbers its rows from the start again.
    ASSERT_TRUE(core::DBManager::deleteMessagesOfAccount(account, watch));
    storeAndAnnounce(text("after", base::Date::now()));
    EXPECT_EQ(shown(), std::vector<std::string> { "after" });
    EXPECT_EQ(chat->allMessagesFrame().front()->message()->context, "after");
    ASSERT_TRUE(core::DBManager::deleteMessagesOfAccount(account, watch));
    base::NotificationCenter::defaultCenter().post(core::NotificationNames::ReceiveRemoteNotification);
    EXPECT_TRUE(shown().empty());
}

} // namespace
