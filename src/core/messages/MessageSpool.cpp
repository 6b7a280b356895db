#include "core/messages/MessageSpool.h"

#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "core/messages/KeptAside.h"
#include "networking/http/URLConnectionOperation.h"
#include "json/JSONDecoder.h"
#include "json/JSONSerializer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <unistd.h>

namespace core {

namespace {

    constexpr const char* AccountKey = "account";
    constexpr const char* VoiceToChatKey = "voiceToChat";
    constexpr const char* SendersKey = "senders";
    // Room for the first line and the file system's own bookkeeping, beyond the reply itself.
    constexpr uintmax_t ReplyOverhead = 64u << 10;
    // Far above any batch the service hands out; a larger old spool file is not read into memory.
    constexpr uintmax_t MaxOldSpoolBytes = 256u << 20;

    std::string firstLine(const ReplyContext& context)
    {
        base::Dictionary::Pairs fields;
        if (context.account)
            fields.emplace_back(base::Value(AccountKey), base::Value(*context.account));
        fields.emplace_back(base::Value(VoiceToChatKey), base::Value(context.voiceToChat));
        if (!context.senderVoiceToChat.empty()) {
            base::Dictionary::Pairs senders;
            for (const auto& [sender, voiceToChat] : context.senderVoiceToChat)
                senders.emplace_back(base::Value(sender), base::Value(voiceToChat));
            fields.emplace_back(base::Value(SendersKey), base::Value(base::Dictionary::make(std::move(senders))));
        }
        return json::JSONString(base::Value(base::Dictionary::make(std::move(fields)))).value_or("{}") + "\n";
    }

    std::optional<ReplyContext> contextOf(std::string_view line)
    {
        auto value = json::objectFromJSONString(line);
        const auto& fields = value ? value->dictionary() : nullptr;
        if (!fields)
            return std::nullopt;
        ReplyContext context;
        if (const base::Value* account = fields->objectForStringKey(AccountKey)) {
            if (!account->string())
                return std::nullopt;
            context.account = *account->string();
        }
        const base::Value* voiceToChat = fields->objectForStringKey(VoiceToChatKey);
        if (!voiceToChat || !voiceToChat->isBool())
            return std::nullopt;
        context.voiceToChat = voiceToChat->boolValue();
        // Replies spooled by earlier versions name no senders.
        if (const base::Value* senders = fields->objectForStringKey(SendersKey)) {
            if (!senders->dictionary())
                return std::nullopt;
            for (auto [sender, toChat] : *senders->dictionary()) {
                if (!sender->string() || !toChat->isBool())
                    return std::nullopt;
                context.senderVoiceToChat.emplace(*sender->string(), toChat->boolValue());
            }
        }
        return context;
    }

    // "<nanoseconds since the epoch, 20 digits>-<process>-<count>.reply": a listing sorted by name gives the
    // replies in the order they arrived, and two processes on one data root never pick the same name.
    std::string newReplyName()
    {
        static std::atomic<uint64_t> count { 0 };
        auto now
            = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch());
        char name[96];
        std::snprintf(name, sizeof name, "%020lld-%d-%llu%s", static_cast<long long>(now.count()),
            static_cast<int>(::getpid()), static_cast<unsigned long long>(count++), MessageSpool::ReplyExtension);
        return name;
    }

    void writeReason(const std::filesystem::path& aside, std::string_view reason)
    {
        std::filesystem::path reasonFile = aside;
        reasonFile += MessageSpool::ReasonExtension;
        if (!base::Files::writeAtomically(reasonFile, std::string(reason) + "\n", 0600))
            base::log("message spool: cannot write why a reply was kept aside");
    }

    std::optional<PendingMessage> decodeOld(const base::Value& entry)
    {
        const auto& fields = entry.dictionary();
        if (!fields)
            return std::nullopt;
        auto textOf = [&](const char* key) -> std::optional<std::string> {
            const base::Value* value = fields->objectForStringKey(key);
            return value && value->string() ? std::optional(*value->string()) : std::nullopt;
        };
        auto message = std::make_shared<UserMessageQuery>();
        message->id_ = textOf("id");
        message->context = textOf("context");
        message->desc = textOf("desc");
        message->from = textOf("from");
        message->to = textOf("to");
        message->fromIconName = textOf("fromIconName");
        message->toIconName = textOf("toIconName");
        message->url = textOf("url");
        message->userName = textOf("userName");
        if (const base::Value* type = fields->objectForStringKey("msgType"); type && type->isNumber())
            message->msgType = type->longLongValue();
        if (const base::Value* time = fields->objectForStringKey("createTime"); time && time->isNumber())
            message->createTime = base::Date::fromTimeIntervalSince1970(time->doubleValue());
        auto place = textOf("place") == "chat" ? PendingMessage::Place::Chat : PendingMessage::Place::MessageCentre;
        return PendingMessage { std::move(message), place };
    }

    std::vector<PendingMessage> oldSpoolUnreadable(const char* why)
    {
        base::log(std::string("message spool: the old spool file is ") + why + "; keeping it aside");
        core::keepAside(MessageSpool::oldFile());
        return {};
    }

} // namespace

bool ReplyContext::voiceToChatFrom(const std::optional<std::string>& sender) const
{
    auto known = sender ? senderVoiceToChat.find(*sender) : senderVoiceToChat.end();
    return known != senderVoiceToChat.end() ? known->second : voiceToChat;
}

std::filesystem::path MessageSpool::folder() { return base::Paths::dataRoot() / FolderName; }

std::filesystem::path MessageSpool::asideFolder() { return folder() / AsideFolderName; }

std::filesystem::path MessageSpool::oldFile() { return base::Paths::dataRoot() / OldFileName; }

uintmax_t MessageSpool::largestReply() { return networking::URLConnectionOperation::DefaultMaximumBodyBytesInMemory; }

bool MessageSpool::canTakeReply(uintmax_t replyBytes)
{
    std::filesystem::path spool = folder();
    std::error_code error;
    if (!base::Files::createFolders(spool) || !std::filesystem::is_directory(spool, error))
        return false;
    // access() also answers "no" on a file system mounted read-only.
    if (::access(spool.c_str(), W_OK | X_OK) != 0)
        return false;
    auto space = std::filesystem::space(spool, error);
    return !error && space.available >= replyBytes + ReplyOverhead;
}

std::filesystem::path MessageSpool::add(std::string_view body, const ReplyContext& context)
{
    std::filesystem::path file = folder() / newReplyName();
    std::string contents = firstLine(context);
    contents.append(body);
    if (!base::Files::writeAtomically(file, contents, 0600))
        return {};
    return file;
}

std::vector<SpooledReply> MessageSpool::replies()
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder(), error), end; !error && it != end; it.increment(error)) {
        const auto& path = it->path();
        if (path.extension() == ReplyExtension && it->is_regular_file(error))
            files.push_back(path);
    }
    std::sort(files.begin(), files.end());
    std::vector<SpooledReply> replies;
    for (auto& file : files) {
        auto contents = base::Files::read(file);
        if (!contents)
            continue; // taken by another process meanwhile, or not readable now: left for a later turn
        size_t lineEnd = contents->find('\n');
        auto context
            = lineEnd == std::string::npos ? std::nullopt : contextOf(std::string_view(*contents).substr(0, lineEnd));
        SpooledReply reply { std::move(file), context.value_or(ReplyContext {}), {} };
        if (!context) {
            reply.body = std::move(*contents);
            keepAside(reply, "the first line does not read");
            continue;
        }
        reply.body = contents->substr(lineEnd + 1);
        replies.push_back(std::move(reply));
    }
    return replies;
}

void MessageSpool::remove(const SpooledReply& reply)
{
    std::error_code error;
    if (!reply.file.empty() && !std::filesystem::remove(reply.file, error) && error)
        base::log("message spool: cannot remove a stored reply: " + error.message());
}

void MessageSpool::keepAside(const SpooledReply& reply, std::string_view reason)
{
    base::log("message spool: a reply is kept aside: " + std::string(reason));
    std::filesystem::path aside
        = asideFolder() / (reply.file.empty() ? newReplyName() : reply.file.filename().string());
    if (!base::Files::createFolders(asideFolder())) {
        base::log("message spool: cannot make the aside folder; the reply stays in the spool");
        return;
    }
    std::error_code error;
    if (reply.file.empty()) {
        if (!base::Files::writeAtomically(aside, firstLine(reply.context) + reply.body, 0600)) {
            base::log("message spool: cannot keep a reply aside");
            return;
        }
    } else {
        std::filesystem::rename(reply.file, aside, error);
        if (error) {
            base::log("message spool: cannot keep a reply aside: " + error.message());
            return;
        }
    }
    writeReason(aside, reason);
}

std::vector<PendingMessage> MessageSpool::oldMessages()
{
    std::error_code error;
    auto size = std::filesystem::file_size(oldFile(), error);
    if (error)
        return {};
    if (size > MaxOldSpoolBytes)
        return oldSpoolUnreadable("too large");
    auto text = base::Files::read(oldFile());
    if (!text)
        return oldSpoolUnreadable("not readable");
    auto value = json::objectFromJSONString(*text);
    if (!value || !value->array())
        return oldSpoolUnreadable("not a list of messages");
    std::vector<PendingMessage> messages;
    for (const base::Value& entry : *value->array()) {
        auto pending = decodeOld(entry);
        if (!pending)
            return oldSpoolUnreadable("not a list of messages");
        messages.push_back(std::move(*pending));
    }
    return messages;
}

void MessageSpool::removeOldFile()
{
    std::error_code error;
    std::filesystem::remove(oldFile(), error);
}

} // namespace core
