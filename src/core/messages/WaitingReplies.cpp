#include "core/messages/WaitingReplies.h"

#include "base/system/Log.h"
#include "core/messages/DBManager.h"
#include "core/readers/FileText.h"
#include "core/readers/MessageList.h"
#include "core/service/ServiceProtocol.h"

#include <atomic>
#include <set>
#include <string_view>
#include <system_error>

namespace core {

namespace {

    // The messages given to the transaction at a time: enough that a batch costs little beside its rows, few
    // enough that a very large reply is never held decoded whole.
    constexpr size_t BatchSize = 1000;

    struct ReadReply {
        SpooledReply reply;
        // What the reader found besides the messages (which go straight to the transaction).
        MessageList list;
        // The size of the reply read, so that a part that is all of it is known.
        size_t bytes { 0 };
        // Whether its file could not be opened (taken by another process meanwhile, say): it is left for a later
        // step.
        bool skipped { false };
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

    // The messages of a step, given to the transaction a batch at a time and kept, packed, for the announcements.
    class Batches {
    public:
        explicit Batches(const DBManager::StoreBatch& store)
            : m_store(store)
        {
        }

        // Whether every message so far was stored.
        bool add(PendingMessage pending)
        {
            m_batch.push_back(std::move(pending));
            return m_batch.size() < BatchSize || flush();
        }

        bool flush()
        {
            if (!m_failed && !m_batch.empty()) {
                m_failed = !m_store(m_batch);
                for (const PendingMessage& pending : m_batch)
                    m_stored.push(pending);
            }
            m_batch.clear();
            return !m_failed;
        }

        PackedMessages stored() { return std::move(m_stored); }

    private:
        const DBManager::StoreBatch& m_store;
        std::vector<PendingMessage> m_batch;
        PackedMessages m_stored;
        bool m_failed { false };
    };

    // Places each message of the reply by the rule of the moment its reply arrived and gives it to the batches.
    // False when a spooled reply's file failed a read part way: what was read of it cannot be told from what it
    // holds.
    bool place(ReadReply& read, Batches& batches)
    {
        const SpooledReply& reply = read.reply;
        // A reply held in memory is stored once at most (nothing on disk can bring it back), so any new name
        // serves it.
        std::string replyName = reply.file.empty() ? MessageSpool::newReplyName() : reply.file.stem().string();
        MessageRead each = [&](std::shared_ptr<UserMessageQuery> message, size_t position) {
            if (holdsNothing(*message))
                return;
            if (!message->id_)
                message->id_ = replyName + "#" + std::to_string(position);
            message->userName = reply.context.account;
            bool chat = message->desc == ServiceProtocol::VoiceMarker && reply.context.voiceToChatFrom(message->from);
            batches.add(
                { std::move(message), chat ? PendingMessage::Place::Chat : PendingMessage::Place::MessageCentre });
        };
        if (reply.file.empty()) {
            read.bytes = reply.body.size();
            read.list = readMessageList(std::string_view(reply.body), each);
            noteSkippedText(read.list);
            return true;
        }
        auto text = FileText::open(reply.file, reply.bodyOffset);
        read.skipped = !text;
        if (!text)
            return true;
        read.bytes = text->size();
        read.list = readMessageList(*text, each);
        noteSkippedText(read.list);
        if (text->failed())
            base::log("message spool: a waiting reply cannot be read; nothing is stored this time");
        return !text->failed();
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

    // The parts of a reply that cannot be read go aside, one after the other, each with its place and reason;
    // a part that is the whole reply goes aside in the reply's own file.
    void keepUnreadable(const ReadReply& read)
    {
        const auto& unreadable = read.list.unreadable;
        if (unreadable.size() == 1 && unreadable[0].offset == 0 && unreadable[0].bytes.size() == read.bytes) {
            SpooledReply whole = read.reply;
            whole.body = unreadable[0].bytes;
            MessageSpool::keepAside(whole, whole.body, unreadable[0].why);
            return;
        }
        std::string parts;
        std::string reasons;
        for (const MessageList::Unreadable& part : unreadable) {
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
    StoringOutcome outcome;
    // Run once more from the start should the store's file turn out damaged.
    bool stored = DBManager::saveIncomingBatches([&](const DBManager::StoreBatch& store) {
        outcome.bytesRead = 0;
        Batches batches(store);
        for (const PendingMessage& pending : MessageSpool::oldMessages())
            batches.add(pending);
        for (ReadReply& read : replies) {
            if (!place(read, batches))
                return false;
            outcome.bytesRead += read.bytes;
        }
        bool all = batches.flush();
        outcome.messages = batches.stored();
        if (all && reached)
            reached(StoringStage::Read);
        return all;
    });
    if (!stored)
        return {};
    if (reached)
        reached(StoringStage::Committed);

    for (const ReadReply& read : replies) {
        if (read.skipped)
            continue;
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
    outcome.stored = true;
    return outcome;
}

} // namespace core
