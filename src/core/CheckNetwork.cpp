#include "core/CheckNetwork.h"

#include "base/URL.h"
#include "core/RootUrl.h"
#include "core/Singleton.h"
#include "reachability/Reachability.h"

namespace core {

using reachability::NetworkStatus;
using reachability::Reachability;

namespace {

    NetworkStatus hostStatus()
    {
        auto target = Reachability::reachabilityWithHostName(CheckNetwork::hostName());
        return target ? target->currentReachabilityStatus() : reachability::NotReachable;
    }

} // namespace

std::string CheckNetwork::hostName()
{
    auto url = base::URL::parse(rootUrl());
    return url ? url->host() : std::string();
}

bool CheckNetwork::isExistenceNetwork()
{
    switch (hostStatus()) {
    case reachability::ReachableViaWiFi:
        Singleton::shared().setCurrentNetworkContional(Singleton::NetworkViaWiFi);
        return true;
    case reachability::ReachableViaWWAN:
        Singleton::shared().setCurrentNetworkContional(Singleton::NetworkViaCellular);
        return true;
    case reachability::NotReachable:
        break;
    }
    Singleton::shared().setCurrentNetworkContional(Singleton::NetworkNone);
    return false;
}

bool CheckNetwork::isWIFI() { return hostStatus() == reachability::ReachableViaWiFi; }

void CheckNetwork::reachabilityChanged(const base::Notification& notification)
{
    auto target = notification.objectAs<Reachability>();
    // An unreachable target calls for the no-network alert, which needs the UI layer's alert view; until
    // that exists the change only refreshes the state through the next check.
    if (target && target->currentReachabilityStatus() != reachability::NotReachable)
        isExistenceNetwork();
}

} // namespace core
