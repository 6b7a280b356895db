#include "core/CheckNetwork.h"

#include "base/Localization.h"
#include "base/URL.h"
#include "core/RootUrl.h"
#include "core/Singleton.h"
#include "reachability/Reachability.h"
#include "ui/AlertView.h"

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
    if (!target)
        return;
    if (target->currentReachabilityStatus() != reachability::NotReachable) {
        isExistenceNetwork();
        return;
    }
    auto alert = std::make_shared<ui::AlertView>(base::localized("error_tip"), base::localized("bad_netword"),
        std::weak_ptr<ui::AlertViewDelegate>(), base::localized("ok"));
    alert->show();
}

} // namespace core
