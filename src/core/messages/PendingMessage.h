// core::PendingMessage: a message handed out by the service on its way into the local store, with the tables
// it belongs in (decided on the main thread when it arrived). A plain value; any thread.
//
//   core::PendingMessage pending { message, core::PendingMessage::Place::Chat };
//   core::DBManager::saveIncomingMessages({ pending });
#pragma once

#include "core/messages/UserMessageQuery.h"

#include <memory>

namespace core {

struct PendingMessage {
    enum class Place { Chat, MessageCentre };

    std::shared_ptr<UserMessageQuery> message;
    Place place { Place::MessageCentre };
};

} // namespace core
