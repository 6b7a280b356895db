// net::EasyHandlePool: libcurl easy handles kept for the next connection instead of being made afresh. A
// handle comes back reset to libcurl's defaults (its caches of resolved names and the like stay), so the next
// connection configures it as if new; a handle beyond the pool's small capacity is cleaned up. Making and
// configuring a fresh handle costs about as much as a tenth of a keep-alive call on loopback.
//
// Any thread (a connection may be released on any thread). A handle is given back only once libcurl no
// longer drives it (removed from the multi handle).
//
//   CURL* easy = net::EasyHandlePool::shared().take();
//   ...
//   net::EasyHandlePool::shared().giveBack(easy);
#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <mutex>
#include <vector>

namespace net {

class EasyHandlePool {
public:
    static constexpr size_t Capacity = 16;

    static EasyHandlePool& shared();

    // A reset handle from the pool, else a new one (null when libcurl cannot make one).
    CURL* take();
    void giveBack(CURL* easy);

private:
    EasyHandlePool() = default;

    std::mutex m_mutex;
    std::vector<CURL*> m_handles;
};

} // namespace net
