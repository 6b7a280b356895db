// chat::MessageHistory: the stored conversation a message screen shows, read a page at a time, so that a long
// history opens as fast as a short one: the newest page when the screen opens, the page before the oldest
// shown as the user scrolls back, and again all that the shown pages span when the store has news (new
// messages appear, at the bottom or where their time puts them, and deleted ones go). One MessageFrame a
// message, oldest first, laid out as its page comes; a frame's time line follows the message stored just
// before it, read with its page, so that an older page changes no frame already shown. The conversation is the
// signed-in account's with the current device in the given place's tables, read when the newest page is.
// Main thread.
//
//   chat::MessageHistory history(core::PendingMessage::Place::Chat);
//   history.loadNewest();
//   size_t added = history.loadOlder(); // frames put above the first
#pragma once

#include "chat/MessageFrame.h"
#include "core/messages/PendingMessage.h"
#include "core/messages/StoredMessage.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace chat {

class MessageHistory {
public:
    // More than a screen of the smallest rows, so that the newest page fills the screen.
    static constexpr int pageSize = 20;

    explicit MessageHistory(core::PendingMessage::Place place);

    const std::vector<std::shared_ptr<MessageFrame>>& frames() const { return m_frames; }
    // Whether the oldest stored message is shown.
    bool reachedOldest() const { return !m_before; }

    // Shows the newest page of the current conversation, in place of whatever was shown.
    void loadNewest();
    // Puts the page before the oldest shown above it; how many frames it added (none at the oldest).
    size_t loadOlder();
    // Reads the conversation again after the message before the oldest shown (from its start when that is the
    // oldest), keeping the frames of the messages still there; the newest page when the conversation changed or
    // the oldest shown message is gone.
    void refresh();
    // Shows a message at the bottom before the store gives it back (the next read replaces it).
    void append(std::shared_ptr<MessageFrame> frame);

private:
    struct Conversation {
        std::string account;
        std::string partner;
        bool operator==(const Conversation&) const = default;
    };
    static Conversation current();

    std::vector<core::StoredMessage> readPage(const std::optional<core::ConversationKey>& last);
    std::optional<core::ConversationKey> oldestKey() const;
    const core::UserMessageQuery* beforeOldest() const { return m_before ? m_before->message.get() : nullptr; }

    core::PendingMessage::Place m_place;
    Conversation m_conversation;
    std::vector<std::shared_ptr<MessageFrame>> m_frames;
    // The stored place of each frame's message; none for an appended one.
    std::vector<std::optional<core::ConversationKey>> m_keys;
    // The stored message just before the oldest shown; none when that is the oldest.
    std::optional<core::StoredMessage> m_before;
};

} // namespace chat
