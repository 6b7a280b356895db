#include "core/service/CheckNetwork.h"

#include "base/text/Localization.h"
#include "base/text/URL.h"
#include "core/service/RootUrl.h"
#include "core/state/Singleton.h"
#include "reachability/Reachability.h"
#include "ui/alerts/AlertView.h"
#include "ui/view/Application.h"

namespace core {

using reachability::NetworkStatus;
using reachability::Reachability;

namespace {

    NetworkStatus hostStatus()
    {
        auto target = Reachability::reachabilityWithHostName(CheckNetwork::hostName());
        return target ? target->currentReachabilityStatus() : reachability::NotReachable;
    }

    // The global state, and the status strip that shows it.
    void record(int32_t state)
    {
        Singleton::shared().setCurrentNetworkContional(state);
        ui::Application::shared().setStatusBarNetwork(
            state == Singleton::NetworkNone ? ui::StatusBarNetwork::Offline : ui::StatusBarNetwork::Online);
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
        record(Singleton::NetworkViaWiFi);
        return true;
    case reachability::ReachableViaWWAN:
        record(Singleton::NetworkViaCellular);
        return true;
    case reachability::NotReachable:
        break;
    }
    record(Singleton::NetworkNone);
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
