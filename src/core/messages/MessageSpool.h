// core::MessageSpool: the folder under the data root that holds the service's poll replies until the local
// store has their messages. The service hands a message out once, so a reply is written here as it was
// received, flushed to disk, before anything else is done with it (even decoding, which could fail on it):
// one file per reply, named so that a listing gives them in arrival order, with the account and the placing
// rule of the moment it arrived on its first line. A reply leaves the folder only once its messages are
// committed to the store; a reply, or part of one, that cannot be read but may hold messages is moved to the
// "aside" folder inside it with a file that says why. That folder is kept under AsideCapBytes, the oldest
// replies going first. A poll is only made while canTakeReply() says the folder can take the largest reply the
// network layer accepts. A write killed before its file took its name leaves the reply in a temporary file:
// recoverInterruptedWrites() at launch takes it back. Any thread; adding is safe beside a reader, and the
// readers are serialised by IncomingMessages (its storing queue).
//
// It also reads the single-file spool of decoded messages that earlier versions kept
// ("incomingMessages.spool"), so that what such a run left is stored too.
//
//   if (!core::MessageSpool::add(body, { account, true })) base::log("cannot spool the reply");
//   for (auto& reply : core::MessageSpool::replies()) store(reply);
#pragma once

#include "base/system/AtomicFileWriter.h"
#include "core/messages/PendingMessage.h"

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

// A reply waiting to be stored: in the spool (file set) or, when it could not be written there, in memory.
struct SpooledReply {
    std::filesystem::path file;
    ReplyContext context;
    std::string body;
};

class MessageSpool {
public:
    static constexpr const char* FolderName = "incomingReplies";
    static constexpr const char* AsideFolderName = "aside";
    static constexpr const char* ReplyExtension = ".reply";
    static constexpr const char* ReasonExtension = ".reason";
    // The spool of earlier versions: a JSON list of decoded messages.
    static constexpr const char* OldFileName = "incomingMessages.spool";

    // The most the aside folder keeps; past it the oldest replies kept aside are removed.
    static constexpr uintmax_t AsideCapBytes = uintmax_t(128) << 20;

    static std::filesystem::path folder();
    static std::filesystem::path asideFolder();
    static std::filesystem::path oldFile();

    // Whether a reply of up to `replyBytes` can be written now: the folder is there (or can be made), is
    // writable and its file system has that much room (hasRoom). The default is the largest body the network
    // layer keeps.
    static bool canTakeReply(uintmax_t replyBytes = largestReply());
    static uintmax_t largestReply();
    // Whether a file system in the state `fs` has room for a reply of `replyBytes`: the bytes, and the files it
    // makes (a file system that counts no files is judged by its bytes).
    static bool hasRoom(const struct statvfs& fs, uintmax_t replyBytes);
    // Whether a file can be written and synced in the folder now: a write can fail where the room was there
    // (a failing disk).
    static bool canWrite();

    // Writes a reply as received, synced to disk; the new file, or an empty path when it could not be written.
    static std::filesystem::path add(std::string_view body, const ReplyContext& context);
    // The same for a reply whose bytes come over time: the writer holds the first line, takes the body piece by
    // piece as it arrives, and its finish() syncs the reply and gives it its name in the spool. Until then the
    // reply is in a temporary file, which recoverInterruptedWrites() takes back at a later launch should the
    // writing end otherwise. Nothing when the file cannot be made.
    static std::unique_ptr<base::AtomicFileWriter> beginReply(const ReplyContext& context);
    // A name for a new reply's file, later than every name given before: "<time>-<process>-<count>.reply".
    static std::string newReplyName();
    // Run at launch: a reply that a write of a process that has ended left in a temporary file takes its name in
    // the spool when it reads whole, and is kept aside otherwise.
    static void recoverInterruptedWrites();
    // The replies waiting, oldest first; a file whose first line does not read is moved aside.
    static std::vector<SpooledReply> replies();
    // Takes a stored reply out of the spool.
    static void remove(const SpooledReply& reply);
    // Moves a reply (or, for one held in memory, writes it) to the aside folder with the reason beside it.
    static void keepAside(const SpooledReply& reply, std::string_view reason);

    // The messages an earlier version left in its spool file; none when there is none. A file that does not
    // read is kept aside beside it ("<name>.corrupt-N").
    static std::vector<PendingMessage> oldMessages();
    static void removeOldFile();
};

} // namespace core
