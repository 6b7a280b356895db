#include "core/messages/ArrivingReply.h"

#include "base/loop/MainThread.h"
#include "base/system/Log.h"
#include "core/readers/MessageList.h"

#include <string_view>
#include <utility>

namespace core {

ArrivingReply::ArrivingReply(ReplyContext context)
    : m_context(std::move(context))
{
}

void ArrivingReply::append(const uint8_t* bytes, size_t length)
{
    BASE_ASSERT_MAIN_THREAD();
    std::string_view piece(reinterpret_cast<const char*>(bytes), length);
    m_received = true;
    std::string firstBytes;
    if (m_emptySoFar) {
        m_emptySoFar = followEmptyMessageList(piece, *m_emptySoFar);
        m_held.append(piece);
        if (m_emptySoFar)
            return;
        m_file = MessageSpool::beginReply(m_context);
        if (!m_file)
            base::log("incoming messages: the spool cannot take a reply as it arrives");
        firstBytes = std::exchange(m_held, {});
        piece = firstBytes;
    }
    if (m_file && !m_file->append(piece)) {
        base::trace("messages", "a piece of a reply could not be written to the spool as it arrived");
        m_file.reset();
    }
}

bool ArrivingReply::finish(SpoolFile::Flush flush)
{
    if (m_emptySoFar)
        return true;
    return m_file && !m_file->finish(flush).empty();
}

void ArrivingReply::abandon()
{
    if (m_file)
        m_file->abandon();
    m_file.reset();
    m_received = false;
    m_emptySoFar = 0;
    m_held.clear();
}

} // namespace core
