#include "core/messages/WaitingReplies.h"

#include "base/system/Log.h"
#include "core/messages/DBManager.h"
#include "core/readers/MessageList.h"
#include "core/service/ServiceProtocol.h"

#include <atomic>
#include <set>
#include <string_view>
#include <system_error>

namespace core {

namespace {

    struct ReadReply {
        SpooledReply reply;
        MessageList list;
    };

    // A message with neither text, description nor file holds nothing to show; the log says so once.
    bool holdsNothing(const UserMessageQuery& message)
    {
        if (message.context || message.desc || message.url)
            return false;
        static std::atomic<bool> said { false };
        if (!said.exchange(true))
            base::log("message spool: a message with neither text, description nor file is not stored (said once)");
        return true;
    }

    // A reply read from its first brace, past a stray byte or line before it; the log says so once.
    void noteSkippedText(const MessageList& list)
    {
        static std::atomic<bool> said { false };
        if (list.skippedBefore > 0 && !said.exchange(true))
            base::log("message spool: a reply was read from its first brace, past " + std::to_string(list.skippedBefore)
                + " bytes before it that hold no message (said once)");
    }

    void place(const SpooledReply& reply, MessageList& list, std::vector<PendingMessage>& batch)
    {
        // A reply held in memory is stored once at most (nothing on disk can bring it back), so any new name
        // serves it.
        std::string replyName = reply.file.empty() ? MessageSpool::newReplyName() : reply.file.stem().string();
        for (size_t i = 0; i < list.messages.size(); ++i) {
            auto& message = list.messages[i];
            if (holdsNothing(*message))
                continue;
            if (!message->id_)
                message->id_ = replyName + "#" + std::to_string(list.positions[i]);
            message->userName = reply.context.account;
            bool chat = message->desc == ServiceProtocol::VoiceMarker && reply.context.voiceToChatFrom(message->from);
            batch.push_back(
                { std::move(message), chat ? PendingMessage::Place::Chat : PendingMessage::Place::MessageCentre });
        }
    }

    // A reply that holds no message list leaves the spool; the log says so once for each kind of reply.
    void drop(const ReadReply& read)
    {
        static std::set<std::string> said;
        if (said.insert(read.list.withoutList).second)
            base::log(std::string("message spool: dropped a reply that holds no messages: ") + read.list.withoutList
                + " (said once for each kind)");
        MessageSpool::remove(read.reply);
    }

    // The parts of a reply that cannot be read go aside, one after the other, each with its place and reason.
    void keepUnreadable(const ReadReply& read)
    {
        std::string parts;
        std::string reasons;
        for (const MessageList::Unreadable& part : read.list.unreadable) {
            parts += (parts.empty() ? "" : "\n") + part.bytes;
            reasons += (reasons.empty() ? "" : "\n") + part.why + " (bytes " + std::to_string(part.offset) + " to "
                + std::to_string(part.offset + part.bytes.size()) + ")";
        }
        MessageSpool::keepAside(read.reply, parts, reasons);
    }

} // namespace

StoringOutcome storeWaitingReplies(std::vector<SpooledReply>& held, const std::function<void(StoringStage)>& reached)
{
    std::vector<ReadReply> replies;
    for (auto& reply : MessageSpool::replies())
        replies.push_back({ std::move(reply), {} });
    for (const SpooledReply& reply : held)
        replies.push_back({ reply, {} });

    std::error_code unknown;
    bool oldSpool = std::filesystem::exists(MessageSpool::oldFile(), unknown);
    std::vector<PendingMessage> batch = MessageSpool::oldMessages();
    for (ReadReply& read : replies) {
        read.list = readMessageList(read.reply.body);
        noteSkippedText(read.list);
        place(read.reply, read.list, batch);
    }
    if (reached)
        reached(StoringStage::Read);
    if (!batch.empty() && !DBManager::saveIncomingMessages(batch))
        return {};
    if (reached)
        reached(StoringStage::Committed);

    for (const ReadReply& read : replies) {
        if (!read.list.unreadable.empty())
            keepUnreadable(read);
        else if (read.list.withoutList)
            drop(read);
        else
            MessageSpool::remove(read.reply);
    }
    held.clear();
    if (oldSpool)
        MessageSpool::removeOldFile();
    return { true, std::move(batch) };
}

} // namespace core
