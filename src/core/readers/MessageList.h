// core::readMessageList: the messages of a "PopManyQueryMessage" reply, read so that what cannot be read costs
// only itself. The reply is walked by its brackets and strings alone to find the list under "d" and each element
// in it; each element is then decoded on its own (loosely: ill-formed UTF-8 and escapes of no character become
// U+FFFD), and an element that still does not decode is read field by field, a field no message reads (an
// out-of-range number in it, say) passed over. So a reply cut off by a kill gives every element before the cut,
// and a reply that the strict decoder refuses as a whole (a byte-order mark before it, NUL bytes after it) gives
// all of its messages; what cannot be read comes back as parts, each with its place in the reply and why. A list
// named twice ("d" twice) is read where it is named last, as the JSON decoder reads it, what the earlier one
// holds coming back as such a part; a stray byte or line before the reply (a form feed, ")]}'") is passed over
// when a message list is named from the first brace on. The JSON decoder itself stays strict. A reply in a file
// (a spooled one) is read through a window (FileText) and each message handed on as it is decoded, so that
// neither the reply nor its messages are held whole. Pure functions, any thread.
//
//   auto list = core::readMessageList(body);
//   store(list.messages);
//   for (const auto& part : list.unreadable) keepAside(part.bytes, part.why);
#pragma once

#include "core/messages/UserMessageQuery.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class FileText;

struct MessageList {
    // A part of the reply that cannot be read and may hold a message.
    struct Unreadable {
        // Where the part begins in the reply, in bytes.
        size_t offset { 0 };
        std::string bytes;
        std::string why;
    };

    // The messages read, in reply order; each with its position among the objects of the list, which a reply
    // read again gives again.
    std::vector<std::shared_ptr<UserMessageQuery>> messages;
    std::vector<size_t> positions;
    std::vector<Unreadable> unreadable;
    // What the reply is when it holds no message list but is not plainly empty ("a text that is not JSON", ...),
    // so that a caller can say so once for each kind; null for a reply with a list, a blank one, one without
    // "d" and one whose "d" is null.
    const char* withoutList { nullptr };
    // The bytes passed over before the reply's object (other than white space and a byte-order mark); they hold
    // no brace, so no message.
    size_t skippedBefore { 0 };
};

MessageList readMessageList(std::string_view reply);

// Told each message as it is read, with its position among the objects of the list.
using MessageRead = std::function<void(std::shared_ptr<UserMessageQuery> message, size_t position)>;
// The same, each message going to `read` as it is read; the list's messages stay empty.
MessageList readMessageList(std::string_view reply, const MessageRead& read);
MessageList readMessageList(const FileText& reply, const MessageRead& read);

// Whether a reply is plainly an empty message list: `{"d":[]}`, the reply of a poll that found nothing, with white
// space around its tokens. Every reader takes it as holding nothing; any other form is read as a reply.
bool holdsEmptyMessageList(std::string_view reply);

// How far `text` follows the plainly empty reply, going on from `matched` of its characters (0 at the start of a
// reply): the characters of it matched so far, or nothing once the text leaves that form. So a reply arriving in
// pieces can be told apart as soon as it is more than an empty list.
std::optional<size_t> followEmptyMessageList(std::string_view text, size_t matched = 0);

} // namespace core
