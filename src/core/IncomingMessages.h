// shell::IncomingMessages: where the messages that "PopManyQueryMessage" hands out are kept. A watch's voice
// message (description "[Lumet_434B_Voice]") goes to the chat tables, unless the current device is of type
// 27; every other message to the message centre's tables. Each is stored for the signed-in account
// ("kLoginName2") and then announced with "ReceiveRemoteNotification", the message as object, so that the
// open screens refresh. The service hands a message out once, so a reply is stored whatever became of the
// screen that asked. Main thread.
//
//   core::WebCall::post("PopManyQueryMessage", nullptr,
//       [](const std::string& reply) { shell::IncomingMessages::store(reply); }, {});
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace shell {

class IncomingMessages {
public:
    // The device type whose voice messages stay with the other messages.
    static constexpr int64_t VoiceInMessageCentreType = 27;

    // Stores the messages of a reply text; how many there were.
    static size_t store(std::string_view reply);
};

} // namespace shell
