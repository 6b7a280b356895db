// core::IncomingMessages: where the messages that "PopManyQueryMessage" hands out are kept. A watch's voice
// message (description "[Lumet_434B_Voice]") goes to the chat tables, unless the current device is of type
// 27; every other message to the message centre's tables. Each is stored for the signed-in account
// ("kLoginName2").
//
// The service hands a message out once, so nothing of a reply may be lost: its messages are first written to
// the spool (MessageSpool), then stored on the storing queue, off the main thread, over one connection in one
// transaction per reply, together with any messages still waiting in the spool. Only when that transaction
// has committed does the main loop hear of them: store() announces each stored message with
// "ReceiveRemoteNotification", the message as object, so that the open screens refresh; storeForChat() is the
// chat screen's form: it announces only the messages stored in the chat tables, and for one stored in the
// message tables calls `reloadChatList` instead. Both return at once; the announcements and the reloads come
// later, on the main loop. When the store fails the messages stay in the spool for the next reply or launch,
// nothing is announced, and the user is told once (until a store succeeds again). A reply is stored whatever
// became of the screen that asked. Main thread.
//
//   core::WebCall::post("PopManyQueryMessage", nullptr,
//       [](const std::string& reply) { core::IncomingMessages::store(reply); }, {});
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace core {

class IncomingMessages {
public:
    // The device type whose voice messages stay with the other messages.
    static constexpr int64_t VoiceInMessageCentreType = 27;
    // The notice shown when messages could not be stored.
    static constexpr const char* StoreFailedMessageKey = "messages_kept_for_later";

    // Starts storing the messages of a reply text; how many there were.
    static size_t store(std::string_view reply);
    // The same; `reloadChatList` (may be empty) runs once per message stored in the message tables.
    static size_t storeForChat(std::string_view reply, const std::function<void()>& reloadChatList);
    // Stores what an earlier run left in the spool (at launch), announcing it as store() does.
    static void storeSpooled();

    // Stores started whose outcome has not reached the main loop yet.
    static size_t storesInFlight();
};

} // namespace core
