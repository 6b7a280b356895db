#include "net/loading/HostLookup.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <sys/socket.h>
#include <thread>

namespace net {

namespace {

    // Shared by the waiting caller and the lookup thread, which may outlive the wait.
    struct PendingLookup {
        std::mutex mutex;
        std::condition_variable answered;
        bool done { false };
        std::vector<IPAddress> addresses;
    };

} // namespace

HostLookup::HostLookup()
    : HostLookup(systemResolve, DefaultLimit)
{
}

HostLookup::HostLookup(Resolver resolver, std::chrono::milliseconds limit)
    : m_resolver(std::move(resolver))
    , m_limit(limit)
{
}

std::vector<IPAddress> HostLookup::systemResolve(const std::string& name)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &list) != 0)
        return {};
    std::vector<IPAddress> addresses;
    for (addrinfo* entry = list; entry; entry = entry->ai_next) {
        auto address = IPAddress::fromSocketAddress(entry->ai_addr);
        if (address && std::find(addresses.begin(), addresses.end(), *address) == addresses.end())
            addresses.push_back(*address);
    }
    freeaddrinfo(list);
    return addresses;
}

std::vector<IPAddress> HostLookup::addresses(const std::string& name) const
{
    if (name.empty() || name.find('\0') != std::string::npos)
        return {};
    auto pending = std::make_shared<PendingLookup>();
    std::thread([pending, resolver = m_resolver, name] {
        std::vector<IPAddress> found = resolver(name);
        std::lock_guard lock(pending->mutex);
        pending->addresses = std::move(found);
        pending->done = true;
        pending->answered.notify_all();
    }).detach();
    std::unique_lock lock(pending->mutex);
    if (!pending->answered.wait_for(lock, m_limit, [&] { return pending->done; }))
        return {};
    return std::move(pending->addresses);
}

} // namespace net
