// net::EasyHandlePool: libcurl easy handles kept for the next connection instead of being made afresh. A
// handle comes back as its last user left it, options and all (resetting and configuring every option again
// would cost a tenth of a keep-alive call on loopback): the options that are the same for every connection
// are set once, by the set-up given to take() for a new handle, and each attempt gives all the others it may
// ever use its own values or libcurl's defaults, so that nothing of one call reaches the next; the record of
// what the handle holds lets it skip those already set. A handle beyond the pool's small capacity is cleaned
// up.
//
// Any thread (a connection may be released on any thread). A handle is given back only once libcurl no
// longer drives it (removed from the multi handle).
//
//   auto handle = net::EasyHandlePool::shared().take(&setUpForEveryConnection);
//   ...
//   net::EasyHandlePool::shared().giveBack(std::move(handle));
#pragma once

#include "net/loading/CurlHeaderList.h"
#include "net/loading/EasyHandleOptions.h"

#include <curl/curl.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace net {

class EasyHandlePool {
public:
    static constexpr size_t Capacity = 16;

    // An easy handle with the header lines it last sent, which the next call keeps when it sends the same
    // fields, and the record of its options. Neither is moved with the handle's ownership, as libcurl may
    // still point at them.
    struct Handle {
        CURL* easy { nullptr };
        std::unique_ptr<CurlHeaderList> headers;
        std::unique_ptr<EasyHandleOptions> options;
    };
    using SetUp = void (*)(Handle&);

    static EasyHandlePool& shared();

    // A handle from the pool, else a new one passed through setUp (no easy handle when libcurl cannot make
    // one).
    Handle take(SetUp setUp);
    void giveBack(Handle handle);

private:
    EasyHandlePool() = default;

    std::mutex m_mutex;
    std::vector<Handle> m_handles;
};

} // namespace net
