// core::IncomingMessages: how the messages that "PopManyQueryMessage" hands out are fetched and kept. A
// watch's voice message (description "[Lumet_434B_Voice]") goes to the chat tables, unless its sender is of
// type 27 (by the account's device list, AccountDevices; a sender the list does not know counts as of the
// current device's type); every other message to the message centre's tables. Each is stored for the
// signed-in account ("kLoginName2"). A poll's reply is filed by the account and device types of the sign-in
// (SignInSession) that sent the poll, whoever is signed in when it comes, and only a sign-in of that account
// hears of its messages: the one that sent the poll while it is current, or a later one of the same account open
// when they are stored; those stored while another account is signed in, or none, wait in the store for the
// account's next sign-in.
//
// The service hands a message out once, so nothing of a reply may be lost. poll() asks only while the spool
// (MessageSpool) can take the largest reply, no other poll or store is under way, no reply is held in memory
// and the spool did not fail its last write; while the spool cannot, nothing is asked and the user is told once
// that the messages wait on the service until there is room (and where, when the replies kept aside hold it),
// and replies held in memory are written again instead. A reply whose file takes its bytes but not the flush to
// disk is held in memory with that file kept unflushed (a kill leaves it for the next launch), and the flush is
// tried again. A reply that is plainly an empty message list is not spooled, nor written while it arrives.
// A reply larger than the network layer keeps is refused, by its announced length before any of it is read:
// the log and the user are told once, and no poll is made for a pause that doubles with each refusal in a row,
// from 2 s to five minutes. A poll's reply is written into the spool as its bytes arrive (ArrivingReply), then
// synced and named there on a queue of its own, before it is even decoded (a reply given to store() is written
// whole on that queue); one whose transfer fails part way keeps what came in the spool, whose storing step
// stores its whole messages and keeps aside what does not read. The storing queue then stores every reply waiting
// (storeWaitingReplies), off the main thread, in one transaction. Only when that transaction has committed
// does the main loop hear of them: store() announces each stored message with "ReceiveRemoteNotification",
// the message as object, so that the open screens refresh; storeForChat() is the chat screen's form: it
// announces only the messages stored in the chat tables, and for one stored in the message tables calls
// `reloadChatList` instead. The announcements and the reloads come later, on the main loop. When the store
// fails the replies stay in the spool for the next reply or launch, nothing is announced, and the user is
// told once (until a store succeeds again) that they are kept, or, when the spool could not take them
// either, that they are not. A reply is stored whatever became of the screen that asked. A step that read a
// large reply hands the memory it freed back to the system once it has announced, in a window or not (a run
// without one draws no frame after which it would). Main thread.
//
//   core::IncomingMessages::poll([weak](bool answered) { if (auto self = weak.lock()) self->pollFinished(answered); });
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace core {

class IncomingMessages {
public:
    // The device type whose voice messages stay with the other messages.
    static constexpr int64_t VoiceInMessageCentreType = 27;
    // The notice shown when messages could not be stored but are kept in the spool.
    static constexpr const char* StoreFailedMessageKey = "messages_kept_for_later";
    // The notice shown when messages could be neither stored nor written to the spool.
    static constexpr const char* NotKeptMessageKey = "messages_not_kept";
    // The notice shown when no poll is made for want of room.
    static constexpr const char* NoRoomMessageKey = "messages_wait_for_room";
    // The same when the replies kept aside hold the room; it says where they are.
    static constexpr const char* NoRoomAsideMessageKey = "messages_wait_for_room_aside";
    // The notice shown when a poll's reply is too large to be received.
    static constexpr const char* ReplyTooLargeMessageKey = "messages_reply_too_large";

    // Whether the service answered the poll with a reply.
    using Finished = std::function<void(bool answered)>;
    using Reload = std::function<void()>;

    // Asks the service for the messages waiting and stores the reply as store() does. `finished` (may be empty)
    // runs on the main loop once the poll is over: the reply handed to the spool (answered), the call failed, or
    // the poll skipped for want of room or during the pause after a refused reply (then at once).
    static void poll(Finished finished);
    // The same, storing as storeForChat() does.
    static void pollForChat(Reload reloadChatList, Finished finished);

    // Starts keeping a reply as it was received (bytes, which need not be well-formed UTF-8).
    static void store(std::string_view reply);
    // The same; `reloadChatList` (may be empty) runs once per message stored in the message tables.
    static void storeForChat(std::string_view reply, const Reload& reloadChatList);
    // Stores what an earlier run left in the spool (at launch), announcing it as store() does.
    static void storeSpooled();

    // Polls waiting for their reply, and stores started whose outcome has not reached the main loop yet.
    static size_t storesInFlight();
    // Of those, the polls waiting for their reply: web calls of the service client until it comes.
    static size_t pollsInFlight();
    // Before the process ends: runs the main loop until the polls and stores under way have reported, and the
    // replies held in memory have had one more try at the spool, and then, those still held, one written without
    // the flush to disk (the log says so), for `limit` (real time) at most. Whether nothing was left under way or
    // in memory; the log says what was.
    static bool finishBeforeExit(std::chrono::milliseconds limit);
};

} // namespace core
