#include "core/messages/ArrivingReply.h"

#include "base/loop/MainThread.h"
#include "base/system/Log.h"

#include <string_view>

namespace core {

ArrivingReply::ArrivingReply(ContextOfArrival contextOfArrival)
    : m_contextOfArrival(std::move(contextOfArrival))
{
}

void ArrivingReply::append(const uint8_t* bytes, size_t length)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_context) {
        m_context = m_contextOfArrival();
        m_file = MessageSpool::beginReply(*m_context);
        if (!m_file)
            base::log("incoming messages: the spool cannot take a reply as it arrives");
    }
    if (m_file && !m_file->append(std::string_view(reinterpret_cast<const char*>(bytes), length)))
        base::trace("messages", "a piece of a reply could not be written to the spool as it arrived");
}

bool ArrivingReply::finish() { return m_file && m_file->finish(); }

void ArrivingReply::abandon()
{
    if (m_file)
        m_file->abandon();
    m_file.reset();
    m_context.reset();
}

} // namespace core
