// core::UserMessageQuery: one message or chat item, as the service hands it out ("PopManyQueryMessage") and
// as the local store keeps it. A plain record; posted as the object of "ReceiveRemoteNotification". Main
// thread.
//
//   for (const auto& message : core::Tool::readUserMessageQueryFromJson(reply))
//       if (message->desc == core::ServiceProtocol::VoiceMarker) core::DBManager::saveOrUpdataUserChatQuery(*message);
#pragma once

#include "base/time/Date.h"

#include <cstdint>
#include <optional>
#include <string>

namespace core {

struct UserMessageQuery {
    // Message types the phone sends.
    static constexpr int64_t TextType = 3;
    static constexpr int64_t ImageType = 4;
    static constexpr int64_t VoiceType = 5;

    std::optional<std::string> id_;
    // A text message's text; a watch voice message's file name on the server.
    std::optional<std::string> context;
    // Blank for messages made on the phone; ServiceProtocol::VoiceMarker for a watch voice message.
    std::optional<std::string> desc;
    // Account name or device serial number.
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> fromIconName;
    std::optional<std::string> toIconName;
    std::optional<int64_t> msgType;
    // The file's address.
    std::optional<std::string> url;
    std::optional<base::Date> createTime;
    // The account that owns the stored message.
    std::optional<std::string> userName;
};

} // namespace core
