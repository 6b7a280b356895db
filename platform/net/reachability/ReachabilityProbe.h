// net::ReachabilityProbe: the reachability of one target (a host name or an IPv4 address) on this machine,
// as ReachabilityFlags computed from its interfaces and routes (see NetworkInterfaces::reachabilityOf).
// A host name is looked up first (within HostLookup's limit); it is reachable as its first reachable
// address is, and not at all when it does not resolve. The address 0.0.0.0 stands for the internet and
// 169.254.0.0 for the local Wi-Fi.
//
// Change notifications: startNotifier() checks the target on the main run loop every CheckInterval and
// calls back when its flags differ from the last ones seen. A host name is looked up again only when the
// machine's interfaces or routes have changed, so a quiet network costs a few small reads per check.
//
// Tests pin the flags of every probe with ScopedFlagsOverride.
//
// Thread: flags() from any thread (it may block for the lookup); the notifier on the main thread.
//
//   auto probe = net::ReachabilityProbe::forHostName("127.0.0.1");
//   bool up = probe && (probe->flags().value_or(0) & net::reachability::Reachable);
//   probe->startNotifier([](net::ReachabilityFlags flags) { ... });
#pragma once

#include "base/time/Clock.h"
#include "base/time/Timer.h"
#include "net/loading/HostLookup.h"
#include "net/reachability/IPAddress.h"
#include "net/reachability/NetworkInterfaces.h"
#include "net/reachability/ReachabilityFlags.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

struct sockaddr_in;

namespace net {

class ReachabilityProbe : public std::enable_shared_from_this<ReachabilityProbe> {
public:
    using ChangeHandler = std::function<void(ReachabilityFlags)>;
    using FlagsOverride = std::function<std::optional<ReachabilityFlags>(const ReachabilityProbe&)>;

    static constexpr base::Duration CheckInterval { 2.0 };

    // Nothing for an empty name or one holding a NUL character.
    static std::shared_ptr<ReachabilityProbe> forHostName(std::string name, HostLookup lookup = {});
    // Nothing unless the socket address is of the AF_INET family.
    static std::shared_ptr<ReachabilityProbe> forAddress(const sockaddr_in& address);

    ~ReachabilityProbe();

    // The host name of a host-name probe, else empty.
    const std::string& hostName() const { return m_hostName; }
    // The address of an address probe, else nothing.
    const std::optional<IPAddress>& address() const { return m_address; }

    // The target's flags now; nothing when the machine's interfaces cannot be listed.
    [[nodiscard]] std::optional<ReachabilityFlags> flags() const;

    // Main thread. Starts the periodic check on the main run loop; false when it is already running.
    [[nodiscard]] bool startNotifier(ChangeHandler onChange);
    void stopNotifier();

    // While one lives, every probe's flags are the override's answer (tests inject flags with it).
    class ScopedFlagsOverride {
    public:
        explicit ScopedFlagsOverride(FlagsOverride flags);
        ~ScopedFlagsOverride();
        ScopedFlagsOverride(const ScopedFlagsOverride&) = delete;
        ScopedFlagsOverride& operator=(const ScopedFlagsOverride&) = delete;

    private:
        FlagsOverride m_previous;
    };

private:
    struct Token { };

public:
    ReachabilityProbe(Token, std::string hostName, std::optional<IPAddress> address, HostLookup lookup);

private:
    static FlagsOverride currentOverride();
    ReachabilityFlags flagsOf(const NetworkInterfaces& network, const std::vector<IPAddress>& addresses) const;
    // The flags now, looking the host name up again only when the network changed since the last call.
    [[nodiscard]] std::optional<ReachabilityFlags> observe();
    void check();

    std::string m_hostName;
    std::optional<IPAddress> m_address;
    HostLookup m_lookup;

    // Notifier state, main thread only.
    std::shared_ptr<base::Timer> m_timer;
    ChangeHandler m_onChange;
    std::optional<ReachabilityFlags> m_lastFlags;
    std::optional<NetworkInterfaces> m_lastNetwork;
    std::vector<IPAddress> m_lastAddresses;
};

} // namespace net
