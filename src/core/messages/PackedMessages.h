// core::PackedMessages: a list of messages on their way to the main loop, packed into blocks of BlockBytes (each
// text with its length, nothing for what is absent) so that a step that stores a very large reply holds neither
// a record of some hundred bytes per message beside it nor, as one growing buffer would, a copy of the list each
// time the buffer grows. push() packs a copy; forEach() unpacks each into a new
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
#include <vector>

namespace core {

class PackedMessages {
public:
    void push(const PendingMessage& pending);
    void forEach(const std::function<void(const PendingMessage&)>& each) const;
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    void clear();

    static constexpr size_t BlockBytes = size_t(1) << 20;

private:
    // Each message whole in one block; a message larger than a block has one of its own.
    std::vector<std::string> m_blocks;
    size_t m_count { 0 };
};

} // namespace core
