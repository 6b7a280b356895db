#include "reachability/Reachability.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace reachability {

using namespace net::reachability;

Reachability::Reachability(std::shared_ptr<net::ReachabilityProbe> probe)
    : m_probe(std::move(probe))
{
    BASE_ASSERT_MAIN_THREAD();
}

Reachability::~Reachability() { stopNotifier(); }

std::shared_ptr<Reachability> Reachability::withKey(std::shared_ptr<net::ReachabilityProbe> probe, std::string key)
{
    if (!probe)
        return nullptr;
    auto made = std::make_shared<Reachability>(std::move(probe));
    made->setKey(std::move(key));
    return made;
}

std::shared_ptr<Reachability> Reachability::reachabilityWithHostName(const std::string& hostName)
{
    BASE_ASSERT_MAIN_THREAD();
    return withKey(net::ReachabilityProbe::forHostName(hostName), hostName);
}

std::shared_ptr<Reachability> Reachability::reachabilityWithAddress(const sockaddr_in& address)
{
    BASE_ASSERT_MAIN_THREAD();
    return withKey(net::ReachabilityProbe::forAddress(address), makeAddressKey(address.sin_addr));
}

std::shared_ptr<Reachability> Reachability::reachabilityForInternetConnection()
{
    BASE_ASSERT_MAIN_THREAD();
    sockaddr_in any {};
    any.sin_family = AF_INET;
    auto made = reachabilityWithAddress(any);
    made->setKey(InternetConnectionKey);
    return made;
}

std::shared_ptr<Reachability> Reachability::reachabilityForLocalWiFi()
{
    BASE_ASSERT_MAIN_THREAD();
    sockaddr_in linkLocal {};
    linkLocal.sin_family = AF_INET;
    linkLocal.sin_addr.s_addr = htonl(0xA9FE0000); // 169.254.0.0
    auto made = reachabilityWithAddress(linkLocal);
    made->setKey(LocalWiFiConnectionKey);
    return made;
}

std::string Reachability::makeAddressKey(const in_addr& address)
{
    BASE_ASSERT_MAIN_THREAD();
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address.s_addr);
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "."
        + std::to_string(bytes[3]);
}

bool Reachability::startNotifier()
{
    BASE_ASSERT_MAIN_THREAD();
    return m_probe->startNotifier([weak = weak_from_this()](net::ReachabilityFlags) {
        if (auto self = weak.lock())
            base::NotificationCenter::defaultCenter().post(ReachabilityChangedNotification, self);
    });
}

void Reachability::stopNotifier() { m_probe->stopNotifier(); }

NetworkStatus Reachability::networkStatusForFlags(net::ReachabilityFlags flags) const
{
    if (!(flags & Reachable))
        return NotReachable;
    if (key() == LocalWiFiConnectionKey)
        return (flags & IsDirect) ? ReachableViaWiFi : NotReachable;
    if (flags & IsWWAN)
        return ReachableViaWWAN;
    // What is left once reachability and the local and direct bits are set aside decides the rest: a
    // connection that must first be brought up still counts as reachable, except a transient one that
    // needs bringing up and nothing else.
    net::ReachabilityFlags rest = flags & ~(Reachable | IsLocalAddress | IsDirect);
    if (rest == (TransientConnection | ConnectionRequired))
        return NotReachable;
    if ((flags & TransientConnection) || rest == 0 || (flags & ConnectionRequired))
        return ReachableViaWiFi;
    return NotReachable;
}

NetworkStatus Reachability::currentReachabilityStatus() const
{
    auto flags = m_probe->flags();
    return flags ? networkStatusForFlags(*flags) : NotReachable;
}

bool Reachability::isConnectionRequired() const { return reachabilityFlags() & ConnectionRequired; }

bool Reachability::isConnectionOnDemand() const
{
    net::ReachabilityFlags flags = reachabilityFlags();
    return (flags & ConnectionRequired) && (flags & (ConnectionOnTraffic | ConnectionOnDemand));
}

bool Reachability::isInterventionRequired() const
{
    net::ReachabilityFlags flags = reachabilityFlags();
    return (flags & ConnectionRequired) && (flags & InterventionRequired);
}

net::ReachabilityFlags Reachability::reachabilityFlags() const { return m_probe->flags().value_or(0); }

std::string Reachability::key() const
{
    std::lock_guard lock(m_keyMutex);
    return m_key;
}

void Reachability::setKey(std::string key)
{
    BASE_ASSERT_MAIN_THREAD();
    std::lock_guard lock(m_keyMutex);
    m_key = std::move(key);
}

} // namespace reachability
