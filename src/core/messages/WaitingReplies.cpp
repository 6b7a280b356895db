#include "core/messages/WaitingReplies.h"

#include "base/system/Log.h"
#include "core/messages/DBManager.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"

#include <system_error>

namespace core {

namespace {

    struct ReadReply {
        SpooledReply reply;
        // Why a part of the reply cannot be read; empty when all of it was.
        std::string unreadable;
    };

    void place(const SpooledReply& reply, std::vector<std::shared_ptr<UserMessageQuery>> messages,
        std::vector<PendingMessage>& batch)
    {
        for (auto& message : messages) {
            message->userName = reply.context.account;
            bool chat = message->desc == ServiceProtocol::VoiceMarker && reply.context.voiceToChatFrom(message->from);
            batch.push_back(
                { std::move(message), chat ? PendingMessage::Place::Chat : PendingMessage::Place::MessageCentre });
        }
    }

    // Held replies that the spool now takes leave memory for it.
    void spoolHeld(std::vector<SpooledReply>& held)
    {
        std::erase_if(
            held, [](const SpooledReply& reply) { return !MessageSpool::add(reply.body, reply.context).empty(); });
    }

} // namespace

StoringOutcome storeWaitingReplies(std::vector<SpooledReply>& held, const std::function<void(StoringStage)>& reached)
{
    spoolHeld(held);
    std::vector<ReadReply> replies;
    for (auto& reply : MessageSpool::replies())
        replies.push_back({ std::move(reply), {} });
    for (const SpooledReply& reply : held)
        replies.push_back({ reply, {} });

    std::error_code unknown;
    bool oldSpool = std::filesystem::exists(MessageSpool::oldFile(), unknown);
    std::vector<PendingMessage> batch = MessageSpool::oldMessages();
    for (ReadReply& read : replies) {
        base::Error error;
        place(read.reply, Tool::readUserMessageQueryFromJson(read.reply.body, &error), batch);
        if (!error.isEmpty())
            read.unreadable = error.localizedDescription();
    }
    if (reached)
        reached(StoringStage::Read);
    if (!batch.empty() && !DBManager::saveIncomingMessages(batch))
        return {};
    if (reached)
        reached(StoringStage::Committed);

    for (const ReadReply& read : replies) {
        if (read.unreadable.empty())
            MessageSpool::remove(read.reply);
        else
            MessageSpool::keepAside(read.reply, read.unreadable);
    }
    held.clear();
    if (oldSpool)
        MessageSpool::removeOldFile();
    return { true, std::move(batch) };
}

} // namespace core
