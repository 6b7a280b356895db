#include "core/messages/ArrivingReply.h"

#include "base/loop/MainThread.h"
#include "base/system/Log.h"

#include <string_view>

namespace core {

ArrivingReply::ArrivingReply(ReplyContext context)
    : m_context(std::move(context))
{
}

void ArrivingReply::append(const uint8_t* bytes, size_t length)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_received) {
        m_received = true;
        m_file = MessageSpool::beginReply(m_context);
        if (!m_file)
            base::log("incoming messages: the spool cannot take a reply as it arrives");
    }
    if (m_file && !m_file->append(std::string_view(reinterpret_cast<const char*>(bytes), length))) {
        base::trace("messages", "a piece of a reply could not be written to the spool as it arrived");
        m_file.reset();
    }
}

bool ArrivingReply::finish() { return m_file && !m_file->finish().empty(); }

void ArrivingReply::abandon()
{
    if (m_file)
        m_file->abandon();
    m_file.reset();
    m_received = false;
}

} // namespace core
