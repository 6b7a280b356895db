// core::PackedMessages: a list of messages on their way to the main loop, packed into one buffer (each text
// with its length, nothing for what is absent) so that a step that stores a very large reply does not hold a
// record of some hundred bytes per message beside it. push() packs a copy; forEach() unpacks each into a new
// record, in the order pushed. A plain value; any thread.
//
//   core::PackedMessages stored;
//   stored.push({ message, core::PendingMessage::Place::Chat });
//   stored.forEach([](const core::PendingMessage& pending) { announce(pending); });
#pragma once

#include "core/messages/PendingMessage.h"

#include <cstddef>
#include <functional>
#include <string>

namespace core {

class PackedMessages {
public:
    void push(const PendingMessage& pending);
    void forEach(const std::function<void(const PendingMessage&)>& each) const;
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    void clear();

private:
    std::string m_bytes;
    size_t m_count { 0 };
};

} // namespace core
