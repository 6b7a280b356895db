// core::StoredMessage: a message read from the local store with its place in its conversation's order, so that
// a screen can read a long conversation a page at a time and ask for what comes before or after what it has.
// The order is the stored time ("yyyy/MM/dd HH:mm:ss" text, "" for a message without a time, which so comes
// first), then the order of storing (the row id). Plain values; main thread, as the reads that make them.
//
//   auto page = core::DBManager::selectConversationPage(place, account, account, serial, std::nullopt, 20);
//   auto older = core::DBManager::selectConversationPage(place, account, account, serial, page.front().key, 20);
#pragma once

#include "core/messages/UserMessageQuery.h"

#include <compare>
#include <cstdint>
#include <memory>
#include <string>

namespace core {

struct ConversationKey {
    std::string time;
    int64_t rowid { 0 };

    auto operator<=>(const ConversationKey&) const = default;
};

struct StoredMessage {
    ConversationKey key;
    std::shared_ptr<UserMessageQuery> message;
};

} // namespace core
