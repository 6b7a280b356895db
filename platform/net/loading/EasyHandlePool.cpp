#include "net/loading/EasyHandlePool.h"

namespace net {

EasyHandlePool& EasyHandlePool::shared()
{
    // Never destroyed: connections released during exit still give their handles back.
    static auto* pool = new EasyHandlePool;
    return *pool;
}

EasyHandlePool::Handle EasyHandlePool::take(SetUp setUp)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_handles.empty()) {
            Handle handle = std::move(m_handles.back());
            m_handles.pop_back();
            return handle;
        }
    }
    Handle handle { curl_easy_init(), nullptr, nullptr };
    if (!handle.easy)
        return handle;
    handle.headers = std::make_unique<CurlHeaderList>();
    handle.options = std::make_unique<EasyHandleOptions>();
    setUp(handle);
    return handle;
}

void EasyHandlePool::giveBack(Handle handle)
{
    if (!handle.easy)
        return;
    {
        std::lock_guard lock(m_mutex);
        if (m_handles.size() < Capacity) {
            m_handles.push_back(std::move(handle));
            return;
        }
    }
    curl_easy_cleanup(handle.easy);
}

} // namespace net
