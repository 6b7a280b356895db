// core::MessageSpool: the file under the data root that holds the service's messages until the local store
// has them. The service hands a message out once, so a reply's messages are written here before they are
// stored and taken out after the store has committed: a store that fails, or a process killed half-way,
// leaves them here for the next attempt. A spool that does not read is kept aside, never dropped. Written
// atomically, mode 0600. Any thread, one at a time (IncomingMessages uses it on its storing queue only).
//
//   auto pending = core::MessageSpool::read();
//   if (core::DBManager::saveIncomingMessages(pending)) core::MessageSpool::clear();
#pragma once

#include "core/messages/PendingMessage.h"

#include <filesystem>
#include <vector>

namespace core {

class MessageSpool {
public:
    static constexpr const char* FileName = "incomingMessages.spool";
    static std::filesystem::path path();

    // The messages waiting; none when there is no spool.
    static std::vector<PendingMessage> read();
    // Replaces the spool with these messages; whether they are on disk.
    [[nodiscard]] static bool write(const std::vector<PendingMessage>& messages);
    static void clear();
};

} // namespace core
