#include "core/messages/WaitingReplies.h"

#include "base/system/Log.h"
#include "core/messages/DBManager.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "json/JSONError.h"

#include <set>
#include <string_view>
#include <system_error>

namespace core {

namespace {

    struct ReadReply {
        SpooledReply reply;
        // Why a part of the reply cannot be read; empty when all of it was.
        std::string unreadable;
        // What an unreadable reply that holds no messages is; none for a reply that may hold some.
        const char* holdsNoMessages { nullptr };
    };

    void place(const SpooledReply& reply, std::vector<std::shared_ptr<UserMessageQuery>> messages,
        std::vector<PendingMessage>& batch)
    {
        // A reply held in memory is stored once at most (nothing on disk can bring it back), so any new name
        // serves it.
        std::string replyName = reply.file.empty() ? MessageSpool::newReplyName() : reply.file.stem().string();
        for (size_t position = 0; position < messages.size(); ++position) {
            auto& message = messages[position];
            if (!message->id_)
                message->id_ = replyName + "#" + std::to_string(position);
            message->userName = reply.context.account;
            bool chat = message->desc == ServiceProtocol::VoiceMarker && reply.context.voiceToChatFrom(message->from);
            batch.push_back(
                { std::move(message), chat ? PendingMessage::Place::Chat : PendingMessage::Place::MessageCentre });
        }
    }

    // Whether a reply that did not read whole may still hold messages: a JSON object (whole, or begun and cut
    // off) may; any other text holds none.
    bool mayHoldMessages(std::string_view body)
    {
        constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
        if (body.starts_with(byteOrderMark))
            body.remove_prefix(byteOrderMark.size());
        size_t first = body.find_first_not_of(" \t\r\n");
        return first != std::string_view::npos && body[first] == '{';
    }

    // What a reply that did not read is, when it holds no messages.
    const char* withoutMessages(const std::string& body, const base::Error& error)
    {
        if (mayHoldMessages(body))
            return nullptr;
        return error.domain() == json::JSONErrorDomain ? "a text that is not JSON" : "JSON without a message list";
    }

    // A reply that holds no messages leaves the spool; the log says so once for each kind of reply.
    void drop(const ReadReply& read)
    {
        static std::set<std::string> said;
        if (said.insert(read.holdsNoMessages).second)
            base::log(std::string("message spool: a reply that is ") + read.holdsNoMessages
                + " holds no messages; it is dropped (said once)");
        MessageSpool::remove(read.reply);
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
        base::Error error;
        place(read.reply, Tool::readUserMessageQueryFromJson(read.reply.body, &error), batch);
        if (!error.isEmpty()) {
            read.unreadable = error.localizedDescription();
            read.holdsNoMessages = withoutMessages(read.reply.body, error);
        }
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
        else if (read.holdsNoMessages)
            drop(read);
        else
            MessageSpool::keepAside(read.reply, read.unreadable);
    }
    held.clear();
    if (oldSpool)
        MessageSpool::removeOldFile();
    return { true, std::move(batch) };
}

} // namespace core
