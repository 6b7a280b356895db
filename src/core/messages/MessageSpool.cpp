#include "core/messages/MessageSpool.h"

#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "base/text/PercentEncoding.h"
#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "core/messages/KeptAside.h"
#include "core/readers/FileText.h"
#include "networking/http/URLConnectionOperation.h"
#include "json/JSONDecoder.h"
#include "json/JSONSerializer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <system_error>
#include <tuple>
#include <unistd.h>

namespace core {

namespace {

    // The account name percent-escaped, so that every name survives the line, U+0000 and noncharacters
    // included, which no JSON decoder takes back as text.
    constexpr const char* EscapedAccountKey = "escapedAccount";
    // The account name as JSON text, as spools written before the escaped form hold it.
    constexpr const char* AccountKey = "account";
    constexpr const char* VoiceToChatKey = "voiceToChat";
    constexpr const char* SendersKey = "senders";
    // Room for the first line and the file system's own bookkeeping, beyond the reply itself.
    constexpr uintmax_t ReplyOverhead = 64u << 10;
    // The files a reply may make: its own, the reason beside it should it be kept aside, and the store's journal.
    constexpr uintmax_t FilesPerReply = 3;
    // Written and removed to learn whether the folder takes a write; not a reply's name.
    constexpr const char* WriteCheckName = ".write-check";
    // Far above any batch the service hands out; a larger old spool file is not read into memory.
    constexpr uintmax_t MaxOldSpoolBytes = 256u << 20;

    std::string firstLine(const ReplyContext& context)
    {
        base::Dictionary::Pairs fields;
        if (context.account)
            fields.emplace_back(base::Value(EscapedAccountKey),
                base::Value(base::PercentEncoding::escape(
                    *context.account, base::PercentEncoding::AllowedCharacters::unreserved())));
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
        if (const base::Value* escaped = fields->objectForStringKey(EscapedAccountKey)) {
            context.account
                = escaped->string() ? base::PercentEncoding::unescapeBytes(*escaped->string()) : std::nullopt;
            if (!context.account)
                return std::nullopt;
        } else if (const base::Value* account = fields->objectForStringKey(AccountKey)) {
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

    // Whether a file of `bytes` stays within the process's file-size limit (ulimit -f); a write past it fails
    // (EFBIG, the signal being ignored), so a limit below a reply is a full disk to the spool. Said once.
    bool withinFileSizeLimit(uintmax_t bytes)
    {
        struct rlimit limit { };
        if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= bytes)
            return true;
        static std::atomic<bool> said { false };
        if (!said.exchange(true))
            base::log("message spool: the file-size limit (ulimit -f) is below the largest reply; as on a full disk, "
                      "no poll is made (said once)");
        return false;
    }

    std::filesystem::path reasonFile(const std::filesystem::path& aside)
    {
        std::filesystem::path file = aside;
        file += MessageSpool::ReasonExtension;
        return file;
    }

    void writeReason(const std::filesystem::path& aside, std::string_view reason)
    {
        if (!base::Files::writeAtomically(reasonFile(aside), std::string(reason) + "\n", 0600))
            base::log("message spool: cannot write why a reply was kept aside");
    }

    uintmax_t sizeOf(const std::filesystem::path& file)
    {
        std::error_code error;
        auto size = std::filesystem::file_size(file, error);
        return error ? 0 : size;
    }

    // The bytes a reply kept aside takes, with its reason.
    uintmax_t asideSizeOf(const std::filesystem::path& file) { return sizeOf(file) + sizeOf(reasonFile(file)); }

    constexpr size_t AsideOrderDigits = 12;

    // The place of a reply in the order the aside folder kept them: "<order, 12 digits>-<the reply's name>".
    // Replies kept by earlier versions, named by the wall clock alone, count as kept before all others.
    std::optional<uint64_t> asideOrder(const std::filesystem::path& file)
    {
        std::string name = file.filename().string();
        if (name.size() <= AsideOrderDigits || name[AsideOrderDigits] != '-'
            || !std::all_of(name.begin(), name.begin() + AsideOrderDigits, [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        return std::strtoull(name.substr(0, AsideOrderDigits).c_str(), nullptr, 10);
    }

    // The replies kept aside, those kept longest first.
    std::vector<std::filesystem::path> keptAside()
    {
        std::vector<std::filesystem::path> kept;
        std::error_code error;
        for (std::filesystem::directory_iterator it(MessageSpool::asideFolder(), error), end; !error && it != end;
             it.increment(error))
            if (it->path().extension() == MessageSpool::ReplyExtension)
                kept.push_back(it->path());
        auto key = [](const std::filesystem::path& file) {
            auto order = asideOrder(file);
            return std::tuple(order.has_value(), order.value_or(0), file.filename().string());
        };
        std::sort(kept.begin(), kept.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
        return kept;
    }

    uintmax_t bytesKeptAside(const std::vector<std::filesystem::path>& kept)
    {
        uintmax_t total = 0;
        for (const auto& file : kept)
            total += asideSizeOf(file);
        return total;
    }

    // The path for a reply, or a part of one, kept aside now: after every one kept before.
    std::filesystem::path nextAsidePath(const std::string& replyName)
    {
        uint64_t next = 1;
        for (const auto& file : keptAside())
            next = std::max(next, asideOrder(file).value_or(0) + 1);
        char order[AsideOrderDigits + 2];
        std::snprintf(
            order, sizeof order, "%0*llu-", static_cast<int>(AsideOrderDigits), static_cast<unsigned long long>(next));
        return MessageSpool::asideFolder() / (order + replyName);
    }

    // Keeps the aside folder under its cap: the replies kept longest go first, never the one just `added`.
    void capAsideFolder(const std::filesystem::path& added)
    {
        auto kept = keptAside();
        uintmax_t total = bytesKeptAside(kept);
        struct statvfs fs { };
        uintmax_t cap = ::statvfs(MessageSpool::asideFolder().c_str(), &fs) == 0 ? MessageSpool::asideCap(fs, total)
                                                                                 : MessageSpool::AsideCapBytes;
        for (const auto& file : kept) {
            if (total <= cap)
                break;
            if (file == added)
                continue;
            total -= asideSizeOf(file);
            std::error_code error;
            std::filesystem::remove(file, error);
            std::filesystem::remove(reasonFile(file), error);
            base::log("message spool: the aside folder is over its cap of " + std::to_string(cap >> 20)
                + " MB (which leaves a poll its room); removed the reply kept there longest, "
                + file.filename().string());
        }
    }

    // Moves a reply's file to the aside folder, with the reason beside it.
    void moveAside(const std::filesystem::path& file, std::string_view reason)
    {
        if (!base::Files::createFolders(MessageSpool::asideFolder())) {
            base::log("message spool: cannot make the aside folder; the reply stays in the spool");
            return;
        }
        std::filesystem::path aside = nextAsidePath(file.filename().string());
        std::error_code error;
        std::filesystem::rename(file, aside, error);
        if (error) {
            base::log("message spool: cannot keep a reply aside: " + error.message());
            return;
        }
        writeReason(aside, reason);
        capAsideFolder(aside);
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
    struct statvfs fs { };
    return ::statvfs(spool.c_str(), &fs) == 0 && hasRoom(fs, replyBytes)
        && withinFileSizeLimit(replyBytes + ReplyOverhead);
}

bool MessageSpool::hasRoom(const struct statvfs& fs, uintmax_t replyBytes)
{
    bool files = fs.f_files == 0 || fs.f_favail >= FilesPerReply;
    return files && uintmax_t(fs.f_bavail) * fs.f_frsize >= replyBytes + ReplyOverhead;
}

uintmax_t MessageSpool::asideCap(const struct statvfs& fs, uintmax_t asideBytes)
{
    uintmax_t free = uintmax_t(fs.f_bavail) * fs.f_frsize;
    uintmax_t pollNeeds = largestReply() + ReplyOverhead;
    uintmax_t leavesPollItsRoom = asideBytes + free > pollNeeds ? asideBytes + free - pollNeeds : 0;
    return std::min(AsideCapBytes, leavesPollItsRoom);
}

bool MessageSpool::roomHeldAside(const struct statvfs& fs, uintmax_t asideBytes)
{
    uintmax_t free = uintmax_t(fs.f_bavail) * fs.f_frsize;
    uintmax_t pollNeeds = largestReply() + ReplyOverhead;
    return free < pollNeeds && free + asideBytes >= pollNeeds;
}

bool MessageSpool::roomHeldAside()
{
    struct statvfs fs { };
    return ::statvfs(folder().c_str(), &fs) == 0 && roomHeldAside(fs, bytesKeptAside(keptAside()));
}

bool MessageSpool::canWrite()
{
    std::filesystem::path check = folder() / WriteCheckName;
    base::Files::removeStaleTemporaries(check);
    // A page, so that the sync has data to write.
    bool written = base::Files::writeAtomically(check, std::string(4096, '\0'), 0600);
    std::error_code error;
    std::filesystem::remove(check, error);
    return written;
}

// "<nanoseconds since the epoch, 20 digits>-<process>-<count>.reply": a listing sorted by name gives the replies
// in the order they arrived, and two processes on one data root never pick the same name.
std::string MessageSpool::newReplyName()
{
    static std::atomic<uint64_t> count { 0 };
    auto now
        = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch());
    char name[96];
    std::snprintf(name, sizeof name, "%020lld-%d-%llu%s", static_cast<long long>(now.count()),
        static_cast<int>(::getpid()), static_cast<unsigned long long>(count++), ReplyExtension);
    return name;
}

void MessageSpool::recoverInterruptedWrites()
{
    std::vector<std::filesystem::path> temporaries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder(), error), end; !error && it != end; it.increment(error)) {
        auto target = base::Files::temporaryTarget(it->path());
        if (target && target->extension() == ReplyExtension)
            temporaries.push_back(it->path());
    }
    for (const auto& temporary : temporaries) {
        auto file = SpoolFile::takeOver(temporary);
        if (!file)
            continue; // still being written, or taken by another launch
        if (file->size() == 0) {
            file->abandon(); // its writer died before writing a byte
            continue;
        }
        if (std::filesystem::exists(file->target(), error))
            file->retarget(folder() / newReplyName());
        if (file->finish().empty()) {
            file->release();
            base::log(
                "message spool: cannot give a reply an interrupted write left its name; it waits for the next launch");
        } else {
            base::log("message spool: took back a reply an interrupted write left; its whole messages are stored next");
        }
    }
}

std::unique_ptr<SpoolFile> MessageSpool::beginReply(const ReplyContext& context)
{
    return SpoolFile::open(folder() / newReplyName(), firstLine(context));
}

std::unique_ptr<SpoolFile> MessageSpool::write(std::string_view body, const ReplyContext& context)
{
    auto file = beginReply(context);
    if (!file || !file->append(body))
        return nullptr;
    return file;
}

std::filesystem::path MessageSpool::add(std::string_view body, const ReplyContext& context, SpoolFile::Flush flush)
{
    auto file = write(body, context);
    return file ? file->finish(flush) : std::filesystem::path();
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
        auto text = FileText::open(file);
        size_t lineEnd = text ? text->find_first_of("\n", 0) : FileText::npos;
        auto context = lineEnd == FileText::npos ? std::nullopt : contextOf(text->substr(0, lineEnd));
        if (!text || text->failed())
            continue; // taken by another process meanwhile, or not readable now: left for a later turn
        SpooledReply reply { std::move(file), context.value_or(ReplyContext {}), {}, {}, lineEnd + 1 };
        if (!context) {
            reply.body = text->substr(0);
            if (!text->failed())
                keepAside(reply, reply.body, "the first line does not read");
            continue;
        }
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

void MessageSpool::keepAside(const SpooledReply& reply, std::string_view part, std::string_view reason)
{
    base::log("message spool: a reply, or a part of it, is kept aside: " + std::string(reason));
    if (!reply.file.empty() && part == reply.body) {
        moveAside(reply.file, reason);
        return;
    }
    std::string name = reply.file.empty() ? newReplyName() : reply.file.filename().string();
    std::filesystem::path aside = nextAsidePath(name);
    if (!base::Files::writeAtomically(aside, firstLine(reply.context) + std::string(part), 0600)) {
        base::log("message spool: cannot keep what a reply holds that cannot be read aside");
        return;
    }
    writeReason(aside, reason);
    remove(reply);
    capAsideFolder(aside);
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
