// core::MessageSpool: the folder under the data root that holds the service's poll replies until the local
// store has their messages. The service hands a message out once, so a reply is written here as it was
// received, flushed to disk, before anything else is done with it (even decoding, which could fail on it):
// one file per reply, named so that a listing gives them in arrival order, with the account and the placing
// rule of the moment it arrived on its first line. A reply is written through a locked temporary file
// (SpoolFile, from beginReply()) that takes the reply's name once whole; a write killed before that leaves the
// temporary file, which recoverInterruptedWrites() at launch gives its name when its writer has ended, cut off
// or not: the storing step reads whatever whole messages it holds. A reply leaves the folder only once its
// messages are committed to the store; the parts of a reply that cannot be read but may hold messages are then
// written to the "aside" folder inside it with a file that says why. That folder is kept under a cap (asideCap:
// at most AsideCapBytes, and never so much that a poll has no room left), the replies kept there longest going
// first; they are numbered in the order they were kept. A poll is only made while canTakeReply() says the folder
// can take the largest reply the network layer accepts. Any thread; adding is safe beside a reader, and the
// readers are serialised by IncomingMessages (its storing queue).
//
// It also reads the single-file spool of decoded messages that earlier versions kept
// ("incomingMessages.spool"), so that what such a run left is stored too.
//
//   if (!core::MessageSpool::add(body, { account, true })) base::log("cannot spool the reply");
//   for (auto& reply : core::MessageSpool::replies()) store(core::FileText::open(reply.file, reply.bodyOffset));
#pragma once

#include "core/messages/PendingMessage.h"
#include "core/messages/SpoolFile.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/statvfs.h>
#include <vector>

namespace core {

// What decides where a reply's messages go, taken when the reply arrives.
struct ReplyContext {
    // The signed-in account ("kLoginName2"), which owns the messages.
    std::optional<std::string> account;
    // Whether a watch voice message goes to the chat tables (false for the device type that keeps them with the
    // other messages), for a sender the account's device list does not know: by the current device's type.
    bool voiceToChat { true };
    // The same for each sender (serial number) the account's device list knows, by that device's own type.
    std::map<std::string, bool> senderVoiceToChat {};

    // Where a voice message from `sender` goes.
    [[nodiscard]] bool voiceToChatFrom(const std::optional<std::string>& sender) const;
};

// A reply waiting to be stored: in the spool (file set, the reply from `bodyOffset` on, after its first line) or,
// when it could not be written there, in memory (body).
struct SpooledReply {
    std::filesystem::path file;
    ReplyContext context;
    std::string body;
    // For a reply held in memory whose file was written but not flushed: that file, still a temporary one, so
    // that a kill leaves it for the next launch; finishing it takes the reply into the spool.
    std::shared_ptr<SpoolFile> unflushed {};
    uintmax_t bodyOffset { 0 };
};

class MessageSpool {
public:
    static constexpr const char* FolderName = "incomingReplies";
    static constexpr const char* AsideFolderName = "aside";
    static constexpr const char* ReplyExtension = ".reply";
    static constexpr const char* ReasonExtension = ".reason";
    // The spool of earlier versions: a JSON list of decoded messages.
    static constexpr const char* OldFileName = "incomingMessages.spool";

    // The most the aside folder keeps; past it (or past what leaves a poll its room) the replies kept there
    // longest are removed.
    static constexpr uintmax_t AsideCapBytes = uintmax_t(128) << 20;

    static std::filesystem::path folder();
    static std::filesystem::path asideFolder();
    static std::filesystem::path oldFile();

    // Whether a reply of up to `replyBytes` can be written now: the folder is there (or can be made), is
    // writable, its file system has that much room (hasRoom) and the process's file-size limit allows it. The
    // default is the largest body the network layer keeps.
    static bool canTakeReply(uintmax_t replyBytes = largestReply());
    static uintmax_t largestReply();
    // Whether a file system in the state `fs` has room for a reply of `replyBytes`: the bytes, and the files it
    // makes (a file system that counts no files is judged by its bytes).
    static bool hasRoom(const struct statvfs& fs, uintmax_t replyBytes);
    // The most the aside folder may keep on a file system in the state `fs` while it keeps `asideBytes`: the
    // smaller of AsideCapBytes and what leaves a poll room for the largest reply.
    static uintmax_t asideCap(const struct statvfs& fs, uintmax_t asideBytes);
    // Whether the room a poll needs is missing on a file system in the state `fs` but would be there without the
    // `asideBytes` the aside folder keeps.
    static bool roomHeldAside(const struct statvfs& fs, uintmax_t asideBytes);
    // The same for the spool's own file system and aside folder now.
    static bool roomHeldAside();
    // Whether a file can be written and synced in the folder now: a write can fail where the room was there
    // (a failing disk).
    static bool canWrite();

    // A new reply's locked temporary file, its first line written; nothing when it cannot be made.
    static std::unique_ptr<SpoolFile> beginReply(const ReplyContext& context);
    // A new reply's locked temporary file holding the whole reply, not finished yet; nothing when it cannot be
    // written.
    static std::unique_ptr<SpoolFile> write(std::string_view body, const ReplyContext& context);
    // Writes a reply as received, through beginReply(), flushed to disk unless `flush` says otherwise; the new
    // file, or an empty path when it could not be written.
    static std::filesystem::path add(
        std::string_view body, const ReplyContext& context, SpoolFile::Flush flush = SpoolFile::Flush::ToDisk);
    // A name for a new reply's file, later than every name given before: "<time>-<process>-<count>.reply".
    static std::string newReplyName();
    // Run at launch: a temporary file whose writer has ended (its lock is free) takes its reply's name, whole or
    // cut off; one that holds nothing is removed. A file still being written is left alone.
    static void recoverInterruptedWrites();
    // The replies waiting, oldest first, their bodies left in their files (only the first line is read); a file
    // whose first line does not read is moved aside.
    static std::vector<SpooledReply> replies();
    // Takes a stored reply out of the spool.
    static void remove(const SpooledReply& reply);
    // Keeps a part of a reply that cannot be read in the aside folder, the reply's first line before it and the
    // reason beside it; the reply leaves the spool. When the part is the whole reply, its file is moved there.
    static void keepAside(const SpooledReply& reply, std::string_view part, std::string_view reason);

    // The messages an earlier version left in its spool file; none when there is none. A file that does not
    // read is kept aside beside it ("<name>.corrupt-N").
    static std::vector<PendingMessage> oldMessages();
    static void removeOldFile();
};

} // namespace core
