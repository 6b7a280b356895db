#include "net/loading/EasyHandlePool.h"

namespace net {

EasyHandlePool& EasyHandlePool::shared()
{
    // Never destroyed: connections released during exit still give their handles back.
    static auto* pool = new EasyHandlePool;
    return *pool;
}

CURL* EasyHandlePool::take()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_handles.empty()) {
            CURL* easy = m_handles.back();
            m_handles.pop_back();
            return easy;
        }
    }
    return curl_easy_init();
}

void EasyHandlePool::giveBack(CURL* easy)
{
    if (!easy)
        return;
    curl_easy_reset(easy);
    {
        std::lock_guard lock(m_mutex);
        if (m_handles.size() < Capacity) {
            m_handles.push_back(easy);
            return;
        }
    }
    curl_easy_cleanup(easy);
}

} // namespace net
