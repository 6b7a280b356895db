// core::CheckNetwork: the application's network check. It asks whether the tracking service's host can be
// reached, records what it found in Singleton's global network state and answers whether the network is
// usable. The host is the configured server's (core::rootUrl()). Synchronous on the calling thread (the
// main thread in the application); a host name's lookup is bounded by net::HostLookup (3 s), so a machine
// without a name service stalls the caller for at most that long and counts as having no network.
//
//   if (!core::CheckNetwork::isExistenceNetwork()) showNotice(base::localized("bad_netword"));
#pragma once

#include "base/loop/Notification.h"

#include <string>

namespace core {

class CheckNetwork {
public:
    // Reachable over Wi-Fi (state 2) or only the cellular network (state 1): true. Not reachable, or a
    // host that cannot be probed: false, state 0.
    static bool isExistenceNetwork();
    // Whether the host is reachable over Wi-Fi (or another route that is not cellular); records nothing.
    static bool isWIFI();
    // For ReachabilityChangedNotification: when the notification's target is reachable, checks the
    // network again; when it is not, shows the alert "error_tip" / "bad_netword" with the button "ok". Main
    // thread.
    static void reachabilityChanged(const base::Notification& notification);

    // The host both checks probe: the host of the configured server's address (empty when that address
    // cannot be read).
    static std::string hostName();
};

} // namespace core
