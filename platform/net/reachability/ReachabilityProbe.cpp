#include "net/reachability/ReachabilityProbe.h"

#include "base/loop/MainThread.h"

#include <mutex>
#include <netinet/in.h>
#include <utility>

namespace net {

namespace {

    std::mutex& overrideMutex()
    {
        static std::mutex mutex;
        return mutex;
    }

    ReachabilityProbe::FlagsOverride& installedOverride()
    {
        static ReachabilityProbe::FlagsOverride flags;
        return flags;
    }

} // namespace

ReachabilityProbe::ReachabilityProbe(Token, std::string hostName, std::optional<IPAddress> address, HostLookup lookup)
    : m_hostName(std::move(hostName))
    , m_address(std::move(address))
    , m_lookup(std::move(lookup))
{
}

ReachabilityProbe::~ReachabilityProbe() { stopNotifier(); }

std::shared_ptr<ReachabilityProbe> ReachabilityProbe::forHostName(std::string name, HostLookup lookup)
{
    if (name.empty() || name.find('\0') != std::string::npos)
        return nullptr;
    return std::make_shared<ReachabilityProbe>(Token {}, std::move(name), std::nullopt, std::move(lookup));
}

std::shared_ptr<ReachabilityProbe> ReachabilityProbe::forAddress(const sockaddr_in& address)
{
    if (address.sin_family != AF_INET)
        return nullptr;
    auto ip = IPAddress::fromSocketAddress(reinterpret_cast<const sockaddr*>(&address));
    return std::make_shared<ReachabilityProbe>(Token {}, std::string(), ip, HostLookup());
}

ReachabilityProbe::FlagsOverride ReachabilityProbe::currentOverride()
{
    std::lock_guard lock(overrideMutex());
    return installedOverride();
}

ReachabilityFlags ReachabilityProbe::flagsOf(
    const NetworkInterfaces& network, const std::vector<IPAddress>& addresses) const
{
    if (m_address)
        return network.reachabilityOf(*m_address);
    for (const IPAddress& address : addresses)
        if (ReachabilityFlags flags = network.reachabilityOf(address))
            return flags;
    return 0;
}

std::optional<ReachabilityFlags> ReachabilityProbe::flags() const
{
    if (FlagsOverride flags = currentOverride())
        return flags(*this);
    auto network = NetworkInterfaces::current();
    if (!network)
        return std::nullopt;
    return flagsOf(*network, m_address ? std::vector<IPAddress>() : m_lookup.addresses(m_hostName));
}

bool ReachabilityProbe::startNotifier(ChangeHandler onChange)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_timer)
        return false;
    m_onChange = std::move(onChange);
    m_lastNetwork.reset();
    m_lastFlags = observe();
    m_timer = base::Timer::scheduled(CheckInterval, true, [weak = weak_from_this()](base::Timer&) {
        if (auto self = weak.lock())
            self->check();
    });
    return true;
}

void ReachabilityProbe::stopNotifier()
{
    if (!m_timer)
        return;
    BASE_ASSERT_MAIN_THREAD();
    m_timer->invalidate();
    m_timer.reset();
    m_onChange = nullptr;
}

std::optional<ReachabilityFlags> ReachabilityProbe::observe()
{
    if (FlagsOverride flags = currentOverride())
        return flags(*this);
    auto network = NetworkInterfaces::current();
    if (!network)
        return std::nullopt;
    if (!m_address && network != m_lastNetwork)
        m_lastAddresses = m_lookup.addresses(m_hostName);
    ReachabilityFlags flags = flagsOf(*network, m_lastAddresses);
    m_lastNetwork = std::move(network);
    return flags;
}

void ReachabilityProbe::check()
{
    std::optional<ReachabilityFlags> now = observe();
    if (now == m_lastFlags)
        return;
    m_lastFlags = now;
    // The handler may stop the notifier, which drops it; keep it alive for this call.
    ChangeHandler onChange = m_onChange;
    if (onChange)
        onChange(now.value_or(0));
}

ReachabilityProbe::ScopedFlagsOverride::ScopedFlagsOverride(FlagsOverride flags)
{
    std::lock_guard lock(overrideMutex());
    m_previous = std::exchange(installedOverride(), std::move(flags));
}

ReachabilityProbe::ScopedFlagsOverride::~ScopedFlagsOverride()
{
    std::lock_guard lock(overrideMutex());
    installedOverride() = std::move(m_previous);
}

} // namespace net
