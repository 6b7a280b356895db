#include "net/loading/EasyHandlePool.h"

namespace net {

EasyHandlePool& EasyHandlePool::shared()
{
    // Never destroyed: connections released during exit still give their handles back.
    static auto* pool = new EasyHandlePool;
    return *pool;
}

CURL* EasyHandlePool::take(SetUp setUp)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_handles.empty()) {
            CURL* easy = m_handles.back();
            m_handles.pop_back();
            return easy;
        }
    }
    CURL* easy = curl_easy_init();
    if (easy)
        setUp(easy);
    return easy;
}

void EasyHandlePool::giveBack(CURL* easy)
{
    if (!easy)
        return;
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
