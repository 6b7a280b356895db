#include "chat/MessageHistory.h"

#include "base/loop/MainThread.h"
#include "base/system/UserDefaults.h"
#include "core/messages/DBManager.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"

#include <algorithm>
#include <unordered_map>

namespace chat {

namespace {

    std::vector<std::shared_ptr<core::UserMessageQuery>> messagesOf(const std::vector<core::StoredMessage>& rows)
    {
        std::vector<std::shared_ptr<core::UserMessageQuery>> messages;
        messages.reserve(rows.size());
        for (const auto& row : rows)
            messages.push_back(row.message);
        return messages;
    }

} // namespace

MessageHistory::MessageHistory(core::PendingMessage::Place place)
    : m_place(place)
{
}

MessageHistory::Conversation MessageHistory::current()
{
    auto account = base::UserDefaults::standard().stringForKey(core::SettingsKeys::LoginName2).value_or("");
    return { account, core::Singleton::shared().lastSerialnumber() };
}

// The page before `last` and, one more, the message before that page, kept in m_before for the page's first
// time line.
std::vector<core::StoredMessage> MessageHistory::readPage(const std::optional<core::ConversationKey>& last)
{
    auto rows = core::DBManager::selectConversationPage(
        m_place, m_conversation.account, m_conversation.account, m_conversation.partner, last, pageSize + 1);
    m_before.reset();
    if (rows.size() > static_cast<size_t>(pageSize)) {
        m_before = std::move(rows.front());
        rows.erase(rows.begin());
    }
    return rows;
}

std::optional<core::ConversationKey> MessageHistory::oldestKey() const
{
    return m_keys.empty() ? std::nullopt : m_keys.front();
}

void MessageHistory::loadNewest()
{
    BASE_ASSERT_MAIN_THREAD();
    m_conversation = current();
    auto rows = readPage(std::nullopt);
    m_frames = makeMessageFrames(messagesOf(rows), beforeOldest());
    m_keys.clear();
    for (const auto& row : rows)
        m_keys.push_back(row.key);
}

size_t MessageHistory::loadOlder()
{
    BASE_ASSERT_MAIN_THREAD();
    auto oldest = oldestKey();
    if (reachedOldest() || !oldest)
        return 0;
    auto rows = readPage(oldest);
    auto frames = makeMessageFrames(messagesOf(rows), beforeOldest());
    m_frames.insert(m_frames.begin(), frames.begin(), frames.end());
    std::vector<std::optional<core::ConversationKey>> keys;
    for (const auto& row : rows)
        keys.push_back(row.key);
    m_keys.insert(m_keys.begin(), keys.begin(), keys.end());
    return frames.size();
}

void MessageHistory::refresh()
{
    BASE_ASSERT_MAIN_THREAD();
    auto oldest = oldestKey();
    if (!oldest || current() != m_conversation) {
        loadNewest();
        return;
    }
    // Row ids are whole numbers: the key just after the message before the oldest shown.
    core::ConversationKey after
        = m_before ? core::ConversationKey { m_before->key.time, m_before->key.rowid + 1 } : core::ConversationKey {};
    auto rows = core::DBManager::selectConversationFrom(
        m_place, m_conversation.account, m_conversation.account, m_conversation.partner, after);
    // The oldest shown message is gone (the store was cleared): what came before it is not known any more.
    if (std::none_of(rows.begin(), rows.end(), [&](const auto& row) { return row.key == *oldest; })) {
        loadNewest();
        return;
    }
    // A row id may be given again after its row is deleted: a kept frame must show the same message.
    std::unordered_map<int64_t, std::shared_ptr<MessageFrame>> shown;
    for (size_t i = 0; i < m_frames.size(); ++i) {
        if (m_keys[i])
            shown.emplace(m_keys[i]->rowid, m_frames[i]);
    }
    std::vector<std::shared_ptr<MessageFrame>> frames;
    std::vector<std::optional<core::ConversationKey>> keys;
    const core::UserMessageQuery* before = beforeOldest();
    for (const auto& row : rows) {
        bool showTime = showsTimeAfter(*row.message, before);
        auto kept = shown.find(row.key.rowid);
        if (kept != shown.end() && kept->second->showTime() == showTime
            && kept->second->message()->id_ == row.message->id_) {
            frames.push_back(kept->second);
        } else {
            frames.push_back(makeMessageFrames({ row.message }, before).front());
        }
        keys.push_back(row.key);
        before = row.message.get();
    }
    m_frames = std::move(frames);
    m_keys = std::move(keys);
}

void MessageHistory::append(std::shared_ptr<MessageFrame> frame)
{
    m_frames.push_back(std::move(frame));
    m_keys.push_back(std::nullopt);
}

} // namespace chat
