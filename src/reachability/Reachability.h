// reachability::Reachability: whether one network target (a host name or an IPv4 address) can be reached,
// as a status: not reachable, reachable over the cellular network, or over Wi-Fi (or any route that is not
// cellular). Once its notifier is started it posts ReachabilityChangedNotification, with itself as the
// object, on the main run loop whenever the target's reachability changes.
//
// Thread: the status reads are synchronous on the calling thread and, for a host name, may wait for its
// lookup (bounded by net::HostLookup); the notifier belongs to the main thread.
//
//   auto target = reachability::Reachability::reachabilityWithHostName("127.0.0.1");
//   if (target && target->currentReachabilityStatus() == reachability::ReachableViaWiFi) ...
#pragma once

#include "net/reachability/ReachabilityFlags.h"
#include "net/reachability/ReachabilityProbe.h"

#include <memory>
#include <mutex>
#include <string>

struct in_addr;
struct sockaddr_in;

namespace reachability {

enum NetworkStatus : int {
    NotReachable = 0,
    ReachableViaWWAN = 1,
    ReachableViaWiFi = 2,
};

// Posted with the Reachability whose target changed as the notification's object.
inline constexpr const char* ReachabilityChangedNotification = "NetworkReachabilityChangedNotification";

class Reachability : public std::enable_shared_from_this<Reachability> {
public:
    static constexpr const char* InternetConnectionKey = "InternetConnection";
    static constexpr const char* LocalWiFiConnectionKey = "LocalWiFiConnection";

    // Takes the probe over. Main thread when a notifier is started.
    explicit Reachability(std::shared_ptr<net::ReachabilityProbe> probe);
    ~Reachability();
    Reachability(const Reachability&) = delete;
    Reachability& operator=(const Reachability&) = delete;

    // Nothing when the target cannot be made (an empty host name, a socket address that is not IPv4).
    static std::shared_ptr<Reachability> reachabilityWithHostName(const std::string& hostName);
    static std::shared_ptr<Reachability> reachabilityWithAddress(const sockaddr_in& address);
    // The address 0.0.0.0, key InternetConnectionKey.
    static std::shared_ptr<Reachability> reachabilityForInternetConnection();
    // The link-local network 169.254.0.0, key LocalWiFiConnectionKey.
    static std::shared_ptr<Reachability> reachabilityForLocalWiFi();
    // "a.b.c.d" of an address in network byte order.
    static std::string makeAddressKey(const in_addr& address);

    // Main thread. Posts the change notification until stopped; false when it was already started.
    [[nodiscard]] bool startNotifier();
    void stopNotifier();

    bool isEqual(const Reachability& other) const { return key() == other.key(); }

    NetworkStatus networkStatusForFlags(net::ReachabilityFlags flags) const;
    // NotReachable when the flags cannot be read.
    NetworkStatus currentReachabilityStatus() const;
    // Each of these reads the flags again; all false when they cannot be read.
    bool isReachable() const { return currentReachabilityStatus() != NotReachable; }
    bool isConnectionRequired() const;
    bool connectionRequired() const { return isConnectionRequired(); }
    bool isConnectionOnDemand() const;
    bool isInterventionRequired() const;
    bool isReachableViaWWAN() const { return currentReachabilityStatus() == ReachableViaWWAN; }
    bool isReachableViaWiFi() const { return currentReachabilityStatus() == ReachableViaWiFi; }
    // The flags, or 0 when they cannot be read.
    net::ReachabilityFlags reachabilityFlags() const;

    // The target's name: the host name, the dotted address, or one of the keys above. Any thread.
    std::string key() const;
    void setKey(std::string key);

private:
    static std::shared_ptr<Reachability> withKey(std::shared_ptr<net::ReachabilityProbe> probe, std::string key);

    std::shared_ptr<net::ReachabilityProbe> m_probe;
    mutable std::mutex m_keyMutex;
    std::string m_key;
};

} // namespace reachability
