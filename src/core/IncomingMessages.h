// core::IncomingMessages: where the messages that "PopManyQueryMessage" hands out are kept. A watch's voice
// message (description "[Lumet_434B_Voice]") goes to the chat tables, unless the current device is of type
// 27; every other message to the message centre's tables. Each is stored for the signed-in account
// ("kLoginName2"). store() then announces every message with "ReceiveRemoteNotification", the message as
// object, so that the open screens refresh. storeForChat() is the chat screen's form: it announces only the
// messages stored in the chat tables, and for one stored in the message tables calls `reloadChatList`
// instead. The service hands a message out once, so a reply is stored whatever became of the screen that
// asked. Main thread.
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

    // Stores the messages of a reply text; how many there were.
    static size_t store(std::string_view reply);
    // The same; `reloadChatList` (may be empty) runs once per message stored in the message tables.
    static size_t storeForChat(std::string_view reply, const std::function<void()>& reloadChatList);
};

} // namespace core
